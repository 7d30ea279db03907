#pragma once
// The tools we start "hidden, without waiting": each runs with the application
// folder as working directory, its output discarded, and its standard input a
// pipe that we keep. That pipe is the tool's console, through which keys reach
// it. Every tool is reaped when it ends, also those that nobody waits for.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace vx {

class ToolRegistry {
  public:
    struct Tool;
    using ToolRef = std::shared_ptr<Tool>;

    static ToolRegistry& Instance();

    // Splits the command line and starts it; the process id, or 0 when it could not start.
    // With an output descriptor the tool's standard output and error go there (the
    // caller reads it all the time and closes its copy of it after the start).
    pid_t Start(const std::string& commandLine, const std::string& workingDirectory,
                int outputFd = -1);

    // The tool with this process id that still runs and whose command line
    // holds the fragment (exact, case-sensitive), or none.
    ToolRef FindRunning(pid_t pid, std::string_view fragment) const;

    // Writes bytes to the tool's console without blocking; false when it has ended.
    bool Write(const ToolRef& tool, std::string_view bytes) const;

    // Waits at most `timeout` for the tool to end; its exit code once it has
    // (128 + signal number for a killed one), or nothing while it runs.
    std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout) const;

    // Tools we started that are still running.
    int RunningCount() const;

    // Keeps the output of tools started from now on in files of that folder,
    // for diagnosis; an empty folder discards it again (the default).
    void SetLogFolder(std::string folder);
    // The file that holds a tool's output, or empty.
    std::string LogPath(pid_t pid) const;

  private:
    ToolRegistry() = default;
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace vx
