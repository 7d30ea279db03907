#include "Spawn.h"

#include <condition_variable>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <future>
#include <mutex>
#include <spawn.h>
#include <string_view>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vx {

namespace {

// This environment with the starting program's process id added: the tool
// launchers end with the program that started them (see tools/Launcher.h).
std::vector<std::string> ChildEnvironment() {
    const std::string name = "VANTORIX_PARENT_PID=";
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        if (std::string_view(*variable).substr(0, name.size()) != name)
            variables.emplace_back(*variable);
    variables.push_back(name + std::to_string(getpid()));
    return variables;
}

} // namespace

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 255;
}

void IgnoreBrokenPipes() {
    static const bool done = [] {
        struct sigaction action {};
        action.sa_handler = SIG_IGN;
        sigemptyset(&action.sa_mask);
        sigaction(SIGPIPE, &action, nullptr);
        return true;
    }();
    (void)done;
}

static pid_t SpawnHere(const SpawnRequest& request) {
    if (request.arguments.empty()) return -1;
    // An executable check first: posix_spawn reports a missing program only
    // through the child's exit status on some C libraries.
    if (access(request.arguments[0].c_str(), X_OK) != 0 &&
        request.arguments[0].find('/') != std::string::npos)
        return -1;

    std::vector<char*> argv;
    for (const auto& argument : request.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (request.stdinFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, request.stdinFd, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (request.stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, request.stdoutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, request.stderrFd >= 0 ? request.stderrFd : 1, 2);
    if (!request.workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, request.workingDirectory.c_str());

    // The child starts with default signal handling, whatever we ignore here.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    if (!request.outlivesReader) sigaddset(&defaults, SIGPIPE);
    sigset_t noMask;
    sigemptyset(&noMask);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &noMask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> variables = ChildEnvironment();
    std::vector<char*> environment;
    for (auto& variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);

    pid_t pid = -1;
    const int result =
        posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
}

namespace {

// The one thread that starts every child. A tool's parent-death signal fires when
// the thread that started it ends, so children are started by a thread that lasts
// as long as the process, whichever thread asks (an encoder's watcher, a probe).
class Spawner {
  public:
    static Spawner& Instance() {
        static Spawner* spawner = new Spawner; // lives until the process ends
        return *spawner;
    }
    pid_t Run(const SpawnRequest& request) {
        std::packaged_task<pid_t()> task([&request] { return SpawnHere(request); });
        std::future<pid_t> result = task.get_future();
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(&task);
        }
        wake_.notify_one();
        return result.get();
    }

  private:
    Spawner() {
        std::thread([this] { Loop(); }).detach();
    }
    [[noreturn]] void Loop() {
        for (;;) {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return !tasks_.empty(); });
            std::packaged_task<pid_t()>* task = tasks_.front();
            tasks_.pop_front();
            lock.unlock();
            (*task)();
        }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<pid_t()>*> tasks_;
};

} // namespace

pid_t Spawn(const SpawnRequest& request) {
    return Spawner::Instance().Run(request);
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

} // namespace vx
