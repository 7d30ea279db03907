#pragma once
// The user's own folders, as the XDG base-directory and user-directory rules
// name them.

#include <string>

namespace vx {

// Whether this process may create files in the folder (what access(W_OK) says).
bool FolderWritable(const std::string& folder);

// Makes the folder where it is missing and tries a file in it: empty when files
// can be written there, else why not (the system's reason).
std::string FolderWriteProblem(const std::string& folder);

// $HOME, or the password database's home folder when $HOME is unset or relative.
std::string UserHomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, otherwise ~/.config.
std::string ConfigHome();
// $XDG_STATE_HOME when it is an absolute path, else ~/.local/state.
std::string StateHome();

// The folder that XDG_VIDEOS_DIR names in user-dirs.dirs of ConfigHome(), when
// it names an existing folder; otherwise the home folder.
std::string VideosFolder();

} // namespace vx
