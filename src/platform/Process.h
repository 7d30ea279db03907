#pragma once
// Runs one console program as a hidden child with everything it writes to its
// standard output and standard error captured, and tells when it has ended.

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>

namespace vx {

class Process {
  public:
    // The longest a poll waits for the child; the window is served between polls.
    static constexpr int kPollMilliseconds = 50;

    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process(); // aborts a running child with exit code 0

    std::string CmdLine;    // the program and its arguments, quoted as needed
    std::string Parameters; // further arguments, after CmdLine and one blank
    bool Async = false;     // true: Launch returns once the child has started

    // Events: the chunk just read (before it joins StdOut), and the end of every Abort.
    std::function<void(std::string& chunk)> StdOutChanged;
    std::function<void()> Finished;
    // Lets the window process pending messages; nothing when unset.
    std::function<void()> PumpMessages;

    std::chrono::system_clock::time_point StartTime() const { return startTime_; }
    std::string ElapsedTime() const; // the time since StartTime as "H:MM:SS"
    int RC() const { return rc_; }
    const std::string& StdOut() const { return output_; }
    // The command line of the last Launch: CmdLine, one blank, Parameters.
    const std::string& CommandLine() const { return commandLine_; }

    void Launch();
    void Read();
    bool IsActive();
    void Abort(int exitCode = 0);

  private:
    void Pump() const {
        if (PumpMessages) PumpMessages();
    }
    void CloseFd(int& fd);

    std::string output_;
    std::string commandLine_;
    int rc_ = 0;
    int readFd_ = -1;
    int writeFd_ = -1;
    int pidFd_ = -1;
    pid_t pid_ = 0;
    std::chrono::system_clock::time_point startTime_{};
};

} // namespace vx
