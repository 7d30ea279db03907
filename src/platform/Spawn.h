#pragma once
// Starting a program by argument list (posix_spawn), never through a shell.

#include <string>
#include <sys/types.h>
#include <vector>

namespace vx {

struct SpawnRequest {
    std::vector<std::string> arguments; // arguments[0] is the program path
    std::string workingDirectory;       // empty: keep the caller's
    int stdinFd = -1;                   // -1: /dev/null
    int stdoutFd = -1;                  // -1: /dev/null; standard error too unless given
    int stderrFd = -1;                  // -1: the same as standard output
    // Leave broken-pipe signals ignored in the child, so that it outlives the
    // reader of its output (its writes then fail quietly).
    bool outlivesReader = false;
};

// Starts the program; gives its process id, or -1 when it cannot be started.
// A program that exists but cannot be executed is reported as not started too.
pid_t Spawn(const SpawnRequest& request);

// The exit code of a reaped child: its exit status, or 128 + the signal that ended it.
int ExitCodeOf(int status);

// A descriptor that becomes readable when the process ends (pidfd_open), or -1.
int OpenPidFd(pid_t pid);

// Makes writes to a pipe whose reader is gone fail with EPIPE instead of a signal.
void IgnoreBrokenPipes();

} // namespace vx
