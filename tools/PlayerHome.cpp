#include "PlayerHome.h"

#include <cstdlib>
#include <filesystem>

namespace vx {

namespace {

std::string Absolute(const EnvironmentLookup& lookup, const char* name) {
    const char* value = lookup(name);
    return (value && value[0] == '/') ? std::string(value) : std::string();
}

} // namespace

std::string PlayerHomeFolder(const EnvironmentLookup& lookup) {
    std::string cache = Absolute(lookup, "XDG_CACHE_HOME");
    if (cache.empty()) {
        const std::string home = Absolute(lookup, "HOME");
        if (home.empty()) return {};
        cache = home + "/.cache";
    }
    return cache + "/vantorix/player";
}

std::vector<EnvironmentChange> PlayerEnvironment(const EnvironmentLookup& lookup) {
    const std::string folder = PlayerHomeFolder(lookup);
    if (folder.empty()) return {};
    std::vector<EnvironmentChange> changes;
    // The libraries find the user's files where they would without the change.
    if (const std::string home = Absolute(lookup, "HOME"); !home.empty()) {
        const std::pair<const char*, const char*> kept[] = {{"XAUTHORITY", "/.Xauthority"},
                                                            {"XDG_CONFIG_HOME", "/.config"},
                                                            {"XDG_CACHE_HOME", "/.cache"},
                                                            {"XDG_DATA_HOME", "/.local/share"}};
        for (const auto& [name, below] : kept)
            if (Absolute(lookup, name).empty()) changes.emplace_back(name, home + below);
    }
    changes.emplace_back("MPLAYER_HOME", std::nullopt); // it would take the place of ~/.mplayer
    changes.emplace_back("HOME", folder);
    return changes;
}

void UsePlayerHome() {
    const EnvironmentLookup lookup = [](const char* name) { return std::getenv(name); };
    const std::string folder = PlayerHomeFolder(lookup);
    if (folder.empty()) return;
    const auto changes = PlayerEnvironment(lookup); // read before anything changes
    namespace fs = std::filesystem;
    std::error_code error;
    // A folder that cannot be made leaves the player without a config of its
    // own, which it copes with; the user's home stays untouched either way.
    if (fs::create_directories(folder, error))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    for (const auto& [name, value] : changes) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

} // namespace vx
