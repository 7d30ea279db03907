#pragma once
// Driving a real program on a private X server from outside, as a user would:
// its windows are found by name and keys and clicks reach it through xdotool.

#include "TestMedia.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace vxtest {

// An Xvfb open to every local user (another user has no key to the X authority),
// on the first free display from :90 on; stopped when destroyed.
class PrivateXServer {
  public:
    PrivateXServer() = default;
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    ~PrivateXServer();

    bool Start(const std::string& logFile);
    const std::string& Display() const { return display_; }

    // xdotool with the given arguments on this display.
    RunResult Xdo(const std::vector<std::string>& arguments) const;
    // The id of a visible window whose whole name is `name`, waiting up to the
    // time-out; empty when none came.
    std::string WaitForWindow(const std::string& name, double seconds) const;
    // True once no visible window has that name (within the time-out).
    bool WaitForNoWindow(const std::string& name, double seconds) const;
    // Gives a window the keyboard and types the keys ("Return", "ctrl+n") into it.
    void Keys(const std::string& window, const std::vector<std::string>& keys) const;
    // Types the keys into the window until a window named `name` shows, up to
    // `attempts` times with `seconds` of waiting each; its id, or empty.
    std::string KeysUntilWindow(const std::string& window, const std::vector<std::string>& keys,
                                const std::string& name, int attempts, double seconds) const;
    // Answers a message box with Return; true once no window named `name` is left.
    bool Answer(const std::string& box, const std::string& name) const;
    // Clicks at a point of a window, in the window's coordinates.
    void Click(const std::string& window, int x, int y) const;

  private:
    pid_t pid_ = -1;
    std::string display_;
};

// A program started in a session of its own, so that it and everything it starts
// can be ended together.
class SessionProcess {
  public:
    SessionProcess() = default;
    SessionProcess(const SessionProcess&) = delete;
    SessionProcess& operator=(const SessionProcess&) = delete;
    ~SessionProcess(); // ends the whole session

    bool Start(std::vector<std::string> arguments, const std::string& workingDirectory,
               const std::string& logFile);
    // The exit code once the program ended within the time-out, or -1.
    int WaitForExit(double seconds);
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    bool reaped_ = false;
};

} // namespace vxtest
