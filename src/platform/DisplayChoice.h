#pragma once
// Which windowing system the program runs on, chosen from its environment alone.
// The preview surfaces hand X window ids to the embedded player, so the program
// always runs on X: on an X session directly, on a Wayland session through
// Xwayland, also when the session asks Qt for Wayland. Other Qt platforms named
// on purpose (offscreen, vnc) are left as they are.

#include <functional>
#include <optional>
#include <string>

namespace vx {

struct DisplayChoice {
    bool start = true;                   // false: there is nothing to show a window on
    std::optional<std::string> platform; // the value QT_QPA_PLATFORM must take; none: as it is
    std::string message;                 // one line for standard error; empty: nothing to say
};

// lookup: what an environment variable holds, nullptr when it is not set.
DisplayChoice ChooseDisplay(const std::function<const char*(const char* name)>& lookup);

} // namespace vx
