#include "XSession.h"

#include "Spawn.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vxtest {

namespace {

using Clock = std::chrono::steady_clock;

void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Clock::time_point Deadline(double seconds) {
    return Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
}

int OpenLog(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Reaps the child if it has ended; true when it has.
bool Ended(pid_t pid, int* status) {
    int result;
    while ((result = waitpid(pid, status, WNOHANG)) < 0 && errno == EINTR) {
    }
    return result == pid || (result < 0 && errno == ECHILD);
}

} // namespace

PrivateXServer::~PrivateXServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

bool PrivateXServer::Start(const std::string& logFile) {
    const int log = OpenLog(logFile);
    for (int number = 90; number < 190 && pid_ <= 0; ++number) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (Exists(socket) || Exists("/tmp/.X" + std::to_string(number) + "-lock")) continue;
        const std::string display = ":" + std::to_string(number);
        // No reset when its last client leaves: a program connecting while the
        // server resets after a probe's xdotool is refused.
        const pid_t pid = vx::Spawn({{"/usr/bin/Xvfb", display, "-ac", "-noreset", "-nolisten",
                                      "tcp", "-screen", "0", "1280x1024x24"},
                                     "/",
                                     -1,
                                     log});
        if (pid <= 0) break;
        // Up once its socket is there; a server that ends lost the display to another one.
        int status = 0;
        const auto deadline = Deadline(20);
        while (!Exists(socket) && !Ended(pid, &status) && Clock::now() < deadline)
            Pause(50);
        if (Exists(socket) && !Ended(pid, &status)) {
            pid_ = pid;
            display_ = display;
        } else if (!Ended(pid, &status)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
    }
    if (log >= 0) close(log);
    return pid_ > 0;
}

RunResult PrivateXServer::Xdo(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{"/usr/bin/env", "DISPLAY=" + display_, "xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return Run(command);
}

std::string PrivateXServer::WaitForWindow(const std::string& name, double seconds) const {
    const auto deadline = Deadline(seconds);
    do {
        const RunResult found = Xdo({"search", "--onlyvisible", "--name", "^" + name + "$"});
        if (found.exitCode == 0 && !found.output.empty())
            return found.output.substr(0, found.output.find('\n'));
        Pause(200);
    } while (Clock::now() < deadline);
    return {};
}

bool PrivateXServer::WaitForNoWindow(const std::string& name, double seconds) const {
    const auto deadline = Deadline(seconds);
    do {
        const RunResult found = Xdo({"search", "--onlyvisible", "--name", "^" + name + "$"});
        if (found.output.empty()) return true;
        Pause(200);
    } while (Clock::now() < deadline);
    return false;
}

void PrivateXServer::Keys(const std::string& window, const std::vector<std::string>& keys) const {
    // Without a window manager the keyboard goes where the test puts it.
    Xdo({"windowfocus", window});
    Pause(300);
    for (const std::string& key : keys) {
        Xdo({"key", key});
        Pause(300);
    }
}

std::string PrivateXServer::KeysUntilWindow(const std::string& window,
                                            const std::vector<std::string>& keys,
                                            const std::string& name, int attempts,
                                            double seconds) const {
    std::string shown;
    for (int attempt = 0; attempt < attempts && shown.empty(); ++attempt) {
        Keys(window, keys);
        shown = WaitForWindow(name, seconds);
    }
    return shown;
}

bool PrivateXServer::Answer(const std::string& box, const std::string& name) const {
    Keys(box, {"Return"});
    return WaitForNoWindow(name, 20);
}

void PrivateXServer::Click(const std::string& window, int x, int y) const {
    Xdo({"windowfocus", window});
    Pause(300);
    Xdo({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
    Pause(300);
}

SessionProcess::~SessionProcess() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL); // the program and whatever it left behind
    if (!reaped_) {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

bool SessionProcess::Start(std::vector<std::string> arguments, const std::string& workingDirectory,
                           const std::string& logFile) {
    // setsid execs the program in place (a spawned child leads no group), so the
    // program keeps this process id and leads a new session and group.
    arguments.insert(arguments.begin(), "/usr/bin/setsid");
    const int log = OpenLog(logFile);
    pid_ = vx::Spawn({arguments, workingDirectory, -1, log});
    if (log >= 0) close(log);
    return pid_ > 0;
}

int SessionProcess::WaitForExit(double seconds) {
    const auto deadline = Deadline(seconds);
    int status = 0;
    while (Clock::now() < deadline) {
        if (Ended(pid_, &status)) {
            reaped_ = true;
            return vx::ExitCodeOf(status);
        }
        Pause(100);
    }
    return -1;
}

} // namespace vxtest
