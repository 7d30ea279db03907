#pragma once
// The player runs with a home folder of the program's own: on its first run
// mplayer writes ~/.mplayer/config, and every later run reads that folder. So
// that nothing of it lands in the user's home, each start of the player tool
// (probe, preview, trimming, About) gets $XDG_CACHE_HOME/vantorix/player as
// its HOME. What the libraries beneath it look up in the user's folders (the X
// authority file, the sound server's cookie, caches) still points there.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vx {

// A variable to set, or to remove when it has no value.
using EnvironmentChange = std::pair<std::string, std::optional<std::string>>;
// What an environment variable holds: nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// The player's own home for an environment; empty when it has no absolute home
// or cache folder to put it in.
std::string PlayerHomeFolder(const EnvironmentLookup& lookup);

// The changes that give the player its own home; none when PlayerHomeFolder is empty.
std::vector<EnvironmentChange> PlayerEnvironment(const EnvironmentLookup& lookup);

// Makes the player's home (mode 0700) and applies PlayerEnvironment to this process.
void UsePlayerHome();

} // namespace vx
