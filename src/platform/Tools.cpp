#include "Tools.h"

#include "CommandLine.h"
#include "EventCounter.h"
#include "Spawn.h"
#include "ToolOutput.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vx {

struct ToolRegistry::Tool {
    pid_t pid = 0;
    std::string commandLine;
    int console = -1; // write end of the tool's standard input
    bool ended = false;
    bool kept = false; // a caller still wants to learn how it ended
    std::chrono::steady_clock::time_point endedAt;
    int exitCode = 0;
    std::string logPath;
    ToolOutput output; // what it said lately, guarded by the registry's mutex
};

struct ToolRegistry::State {
    mutable std::mutex mutex;
    mutable std::condition_variable ended;
    std::map<pid_t, ToolRef> tools;
    std::vector<int> endSignals;
    std::string logFolder;
    int logCount = 0;
};

namespace {

// Forget tools that ended long ago, keeping the table small. A tool that ended
// lately stays, and a kept one stays until released, so that whoever waits for it
// still learns how it ended.
void Prune(std::map<pid_t, ToolRegistry::ToolRef>& tools) {
    if (tools.size() < 64) return;
    const auto longAgo = std::chrono::steady_clock::now() - std::chrono::minutes(1);
    for (auto it = tools.begin(); it != tools.end();)
        it = it->second->ended && !it->second->kept && it->second->endedAt < longAgo
                 ? tools.erase(it)
                 : std::next(it);
}

} // namespace

ToolRegistry& ToolRegistry::Instance() {
    // Never destroyed: reaper threads may still use it while the program ends.
    static ToolRegistry* instance = [] {
        auto* registry = new ToolRegistry;
        registry->state_ = std::make_shared<State>();
        return registry;
    }();
    return *instance;
}

namespace {

enum class Read { Data, Nothing, End };

// Reads what is waiting on the tool's output pipe into its log and its output.
Read ReadOutput(int fd, int log, ToolOutput& output, std::mutex& mutex) {
    char buffer[4096];
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count < 0) return errno == EINTR || errno == EAGAIN ? Read::Nothing : Read::End;
    if (count == 0) return Read::End;
    if (log >= 0 && write(log, buffer, static_cast<std::size_t>(count)) < 0) {
        // the log is for diagnosis only; a failed write loses nothing else
    }
    std::lock_guard lock(mutex);
    output.Feed(std::string_view(buffer, static_cast<std::size_t>(count)));
    return Read::Data;
}

} // namespace

// One thread per tool reads its output all the time (a pipe nobody reads
// stalls the tool) and reaps it when it ends.
void ToolRegistry::Watch(const std::shared_ptr<State>& state, const ToolRef& tool, int output,
                         int log) {
    const int pidfd = OpenPidFd(tool->pid);
    bool open = true;
    while (open) {
        pollfd fds[2] = {{output, POLLIN, 0}, {pidfd, POLLIN, 0}};
        const int ready = poll(fds, pidfd >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno != EINTR) break;
        if (fds[0].revents != 0)
            open = ReadOutput(output, log, tool->output, state->mutex) != Read::End;
        if (pidfd >= 0 && fds[1].revents != 0) {
            // Ended: take what is still waiting, without blocking on a pipe that a
            // child of the tool may hold open.
            fcntl(output, F_SETFL, fcntl(output, F_GETFL) | O_NONBLOCK);
            while (ReadOutput(output, log, tool->output, state->mutex) == Read::Data) {
            }
            break;
        }
    }
    int status = 0;
    while (waitpid(tool->pid, &status, 0) < 0 && errno == EINTR) {
    }
    close(output);
    if (pidfd >= 0) close(pidfd);
    if (log >= 0) close(log);
    std::lock_guard lock(state->mutex);
    tool->ended = true;
    tool->endedAt = std::chrono::steady_clock::now();
    tool->exitCode = ExitCodeOf(status);
    close(tool->console);
    tool->console = -1;
    for (const int signal : state->endSignals)
        EventCounter::Add(signal);
    state->ended.notify_all();
}

pid_t ToolRegistry::Start(const std::string& commandLine, const std::string& workingDirectory,
                          int outputFd, bool keep) {
    IgnoreBrokenPipes();
    int console[2];
    if (pipe2(console, O_CLOEXEC) != 0) return 0;
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(console[0]);
        close(console[1]);
        return 0;
    }
    std::string logPath;
    int log = -1;
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->logFolder.empty())
            logPath = state_->logFolder + "/tool-" + std::to_string(++state_->logCount) + ".log";
    }
    if (!logPath.empty() && outputFd < 0)
        log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    // Without a reader of the caller's own, ours reads the output all the time.
    SpawnRequest request{SplitCommandLine(commandLine), workingDirectory, console[0],
                         outputFd >= 0 ? outputFd : output[1]};
    request.outlivesReader = true; // tools keep running when we end
    const pid_t pid = Spawn(request);
    close(console[0]);
    close(output[1]);
    if (pid <= 0) {
        close(console[1]);
        close(output[0]);
        if (log >= 0) close(log);
        return 0;
    }
    fcntl(console[1], F_SETFL, fcntl(console[1], F_GETFL) | O_NONBLOCK);
    auto tool = std::make_shared<Tool>();
    tool->pid = pid;
    tool->commandLine = commandLine;
    tool->console = console[1];
    tool->logPath = logPath;
    tool->kept = keep;
    {
        std::lock_guard lock(state_->mutex);
        Prune(state_->tools);
        state_->tools[pid] = tool;
    }
    std::thread(&ToolRegistry::Watch, state_, tool, output[0], log).detach();
    return pid;
}

ToolRegistry::ToolRef ToolRegistry::FindRunning(pid_t pid, std::string_view fragment) const {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    if (it == state_->tools.end() || it->second->ended) return nullptr;
    if (it->second->commandLine.find(fragment) == std::string::npos) return nullptr;
    return it->second;
}

bool ToolRegistry::Write(const ToolRef& tool, std::string_view bytes) const {
    if (!tool) return false;
    std::lock_guard lock(state_->mutex);
    if (tool->ended || tool->console < 0) return false;
    return write(tool->console, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::optional<int> ToolRegistry::WaitForExit(pid_t pid, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    if (it == state_->tools.end()) return std::nullopt;
    const ToolRef tool = it->second;
    if (timeout.count() > 0) state_->ended.wait_for(lock, timeout, [&] { return tool->ended; });
    if (!tool->ended) return std::nullopt;
    return tool->exitCode;
}

void ToolRegistry::Release(pid_t pid) {
    std::lock_guard lock(state_->mutex);
    if (const auto it = state_->tools.find(pid); it != state_->tools.end())
        it->second->kept = false;
}

// Only while the process is our child not yet reaped (running, or ended and
// not waited for): its id cannot belong to another process then.
void ToolRegistry::Kill(pid_t pid) {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    if (it == state_->tools.end() || it->second->ended) return;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == 0)
        ::kill(pid, SIGKILL);
}

void ToolRegistry::AddEndSignal(int eventFd) {
    std::lock_guard lock(state_->mutex);
    state_->endSignals.push_back(eventFd);
}

// Under the mutex, so that no reaper writes to the descriptor once this returns.
void ToolRegistry::RemoveEndSignal(int eventFd) {
    std::lock_guard lock(state_->mutex);
    std::erase(state_->endSignals, eventFd);
}

int ToolRegistry::RunningCount() const {
    std::lock_guard lock(state_->mutex);
    int count = 0;
    for (const auto& [pid, tool] : state_->tools)
        count += tool->ended ? 0 : 1;
    return count;
}

void ToolRegistry::SetLogFolder(std::string folder) {
    std::lock_guard lock(state_->mutex);
    state_->logFolder = std::move(folder);
}

bool ToolRegistry::Running(pid_t pid) const {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    return it != state_->tools.end() && !it->second->ended;
}

std::string ToolRegistry::StatusLine(pid_t pid) const {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    return it == state_->tools.end() ? std::string() : it->second->output.StatusLine();
}

std::vector<std::string> ToolRegistry::OutputTail(pid_t pid) const {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    return it == state_->tools.end() ? std::vector<std::string>() : it->second->output.Tail();
}

std::string ToolRegistry::LogPath(pid_t pid) const {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    return it == state_->tools.end() ? std::string() : it->second->logPath;
}

} // namespace vx
