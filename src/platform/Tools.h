#pragma once
// The tools we start "hidden, without waiting": each runs with the application
// folder as working directory and its standard input a pipe that we keep. That
// pipe is the tool's console, through which keys reach it. Its standard output
// and error go to a pipe that a thread of ours reads all the time, keeping the
// last lines and the latest status line; the same thread reaps the tool when
// it ends, also those that nobody waits for.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vx {

class ToolRegistry {
  public:
    struct Tool;
    using ToolRef = std::shared_ptr<Tool>;

    static ToolRegistry& Instance();

    // Splits the command line and starts it; the process id, or 0 when it could not start.
    // With an output descriptor the tool's standard output and error go there (the
    // caller reads it all the time and closes its copy of it after the start).
    // A kept tool's end stays known until Release, however many tools start meanwhile.
    static constexpr bool kKeep = true;
    pid_t Start(const std::string& commandLine, const std::string& workingDirectory,
                int outputFd = -1, bool keep = false);
    void Release(pid_t pid);
    // Kills the tool if it still runs (a tool that ended is never signalled).
    void Kill(pid_t pid);

    // The tool with this process id that still runs and whose command line
    // holds the fragment (exact, case-sensitive), or none.
    ToolRef FindRunning(pid_t pid, std::string_view fragment) const;

    // Writes bytes to the tool's console without blocking; false when it has ended.
    bool Write(const ToolRef& tool, std::string_view bytes) const;

    // Waits at most `timeout` for the tool to end; its exit code once it has
    // (128 + signal number for a killed one), or nothing while it runs.
    std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout) const;

    // Whenever a tool ends, the count of that event descriptor (see eventfd(2))
    // goes up by one, so that a thread sleeping on it learns of the end at once.
    void AddEndSignal(int eventFd);
    void RemoveEndSignal(int eventFd);

    // Tools we started that are still running.
    int RunningCount() const;
    bool Running(pid_t pid) const;

    // What the tool said lately (also after it ended, while it is remembered):
    // the latest line it ended with a carriage return, terminal codes removed,
    // and its last lines ended by a line feed, oldest first.
    std::string StatusLine(pid_t pid) const;
    std::vector<std::string> OutputTail(pid_t pid) const;

    // Keeps the output of tools started from now on in files of that folder,
    // for diagnosis; an empty folder discards it again (the default).
    void SetLogFolder(std::string folder);
    // The file that holds a tool's output, or empty.
    std::string LogPath(pid_t pid) const;

    struct State;

  private:
    ToolRegistry() = default;
    static void Watch(const std::shared_ptr<State>& state, const ToolRef& tool, int output,
                      int log);
    std::shared_ptr<State> state_;
};

} // namespace vx
