#include "DisplayChoice.h"

#include <string_view>

namespace vx {

namespace {

std::string Value(const std::function<const char*(const char*)>& lookup, const char* name) {
    const char* value = lookup(name);
    return value ? std::string(value) : std::string();
}

// The first of the platforms Qt would try ("wayland;xcb" tries Wayland first).
std::string FirstPlatform(const std::string& platforms) {
    return platforms.substr(0, platforms.find(';'));
}

} // namespace

DisplayChoice ChooseDisplay(const std::function<const char*(const char* name)>& lookup) {
    const std::string platform = FirstPlatform(Value(lookup, "QT_QPA_PLATFORM"));
    const bool wantsWayland = std::string_view(platform).starts_with("wayland");
    if (!platform.empty() && platform != "xcb" && !wantsWayland) return {}; // chosen on purpose
    const bool xDisplay = !Value(lookup, "DISPLAY").empty();
    const bool waylandSession =
        !Value(lookup, "WAYLAND_DISPLAY").empty() || Value(lookup, "XDG_SESSION_TYPE") == "wayland";
    if (xDisplay) {
        DisplayChoice choice{true, "xcb", {}};
        if (wantsWayland)
            choice.message = "vantorix: running on X through Xwayland, not on Wayland as "
                             "QT_QPA_PLATFORM asks: the embedded player needs X";
        return choice;
    }
    if (waylandSession || wantsWayland)
        return {false, std::nullopt,
                "vantorix: this Wayland session has no X display, and the embedded player needs X: "
                "install Xwayland (Debian package xwayland) or turn it on, then start again"};
    return {false, std::nullopt,
            "vantorix: no X display (DISPLAY is not set): the embedded player needs X; "
            "start it from a desktop session"};
}

} // namespace vx
