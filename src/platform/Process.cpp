#include "Process.h"

#include "CommandLine.h"
#include "Spawn.h"
#include "TimeText.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vx {

namespace {

int PidFdOpen(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

} // namespace

Process::~Process() {
    Abort(0);
}

std::string Process::ElapsedTime() const {
    const auto elapsed = std::chrono::system_clock::now() - startTime_;
    return TimeText(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
}

void Process::CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

void Process::Launch() {
    rc_ = 0;
    output_.clear();
    startTime_ = std::chrono::system_clock::now();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    readFd_ = fds[0];
    writeFd_ = fds[1];
    Pump();
    Pump();
    commandLine_ = CmdLine + " " + Parameters;
    const pid_t pid = Spawn({SplitCommandLine(commandLine_), {}, -1, writeFd_});
    if (pid <= 0) return; // silent: empty output, return code 0; the pipe waits for Abort
    pid_ = pid;
    pidFd_ = PidFdOpen(pid);
    if (Async) return;
    while (IsActive()) {
        Read();
        Pump();
        Pump();
    }
}

bool Process::IsActive() {
    if (pid_ == 0) return false;
    // Wake for the child's end or for new output, at most one poll interval later.
    pollfd fds[2] = {{pidFd_, POLLIN, 0}, {readFd_, POLLIN, 0}};
    int ready;
    while ((ready = poll(fds, 2, kPollMilliseconds)) < 0 && errno == EINTR) {
    }
    bool ended = ready < 0 || (fds[0].revents != 0);
    if (pidFd_ < 0) { // no process descriptor: ask without reaping
        siginfo_t info{};
        ended = waitid(P_PID, pid_, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid_;
    }
    if (!ended) return true;
    Abort(0);
    return false;
}

void Process::Read() {
    int waiting = 0;
    if (readFd_ >= 0 && ioctl(readFd_, FIONREAD, &waiting) == 0 && waiting > 0) {
        std::string chunk(static_cast<std::size_t>(waiting), '\0');
        const ssize_t n = read(readFd_, chunk.data(), chunk.size());
        if (n > 0) {
            chunk.resize(static_cast<std::size_t>(n));
            if (StdOutChanged) StdOutChanged(chunk);
            output_ += chunk;
        }
    }
    Pump();
    IsActive();
}

void Process::Abort(int exitCode) {
    if (pid_ != 0) {
        int status = 0;
        pid_t reaped = waitpid(pid_, &status, WNOHANG);
        if (reaped == 0) {
            // Still running: end it and wait until it is gone before taking its code.
            kill(pid_, SIGKILL);
            while ((reaped = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
            }
            rc_ = exitCode;
        } else {
            rc_ = exitCode != 0 ? exitCode : ExitCodeOf(status);
        }
        Pump();
        CloseFd(pidFd_);
        pid_ = 0;
        Pump();
    }
    Read();
    Pump();
    CloseFd(writeFd_);
    Pump();
    CloseFd(readFd_);
    if (Finished) Finished();
}

} // namespace vx
