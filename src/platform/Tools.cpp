#include "Tools.h"

#include "CommandLine.h"
#include "Spawn.h"

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vx {

struct ToolRegistry::Tool {
    pid_t pid = 0;
    std::string commandLine;
    int console = -1; // write end of the tool's standard input
    bool ended = false;
    int exitCode = 0;
    std::string logPath;
};

struct ToolRegistry::State {
    mutable std::mutex mutex;
    mutable std::condition_variable ended;
    std::map<pid_t, ToolRef> tools;
    std::string logFolder;
    int logCount = 0;
};

namespace {

// Forget tools that ended long ago, keeping the table small.
void Prune(std::map<pid_t, ToolRegistry::ToolRef>& tools) {
    if (tools.size() < 64) return;
    for (auto it = tools.begin(); it != tools.end();)
        it = it->second->ended ? tools.erase(it) : std::next(it);
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

pid_t ToolRegistry::Start(const std::string& commandLine, const std::string& workingDirectory,
                          int outputFd) {
    IgnoreBrokenPipes();
    int console[2];
    if (pipe2(console, O_CLOEXEC) != 0) return 0;
    std::string logPath;
    int log = -1;
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->logFolder.empty())
            logPath = state_->logFolder + "/tool-" + std::to_string(++state_->logCount) + ".log";
    }
    if (!logPath.empty() && outputFd < 0)
        log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    SpawnRequest request{SplitCommandLine(commandLine), workingDirectory, console[0],
                         outputFd >= 0 ? outputFd : log};
    const pid_t pid = Spawn(request);
    close(console[0]);
    if (log >= 0) close(log);
    if (pid <= 0) {
        close(console[1]);
        return 0;
    }
    fcntl(console[1], F_SETFL, fcntl(console[1], F_GETFL) | O_NONBLOCK);
    auto tool = std::make_shared<Tool>();
    tool->pid = pid;
    tool->commandLine = commandLine;
    tool->console = console[1];
    tool->logPath = logPath;
    {
        std::lock_guard lock(state_->mutex);
        Prune(state_->tools);
        state_->tools[pid] = tool;
    }
    std::thread([state = state_, tool] {
        int status = 0;
        while (waitpid(tool->pid, &status, 0) < 0 && errno == EINTR) {
        }
        std::lock_guard lock(state->mutex);
        tool->ended = true;
        tool->exitCode = ExitCodeOf(status);
        close(tool->console);
        tool->console = -1;
        state->ended.notify_all();
    }).detach();
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
    state_->ended.wait_for(lock, timeout, [&] { return tool->ended; });
    if (!tool->ended) return std::nullopt;
    return tool->exitCode;
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

std::string ToolRegistry::LogPath(pid_t pid) const {
    std::lock_guard lock(state_->mutex);
    const auto it = state_->tools.find(pid);
    return it == state_->tools.end() ? std::string() : it->second->logPath;
}

} // namespace vx
