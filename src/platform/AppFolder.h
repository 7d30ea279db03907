#pragma once
// The application folder: the folder of the running program file.

#include <string>

namespace vx {

// The folder as the system reports it: no trailing separator, except "/" at the root.
std::string ApplicationFolderRaw();

// The same folder with exactly one trailing "/".
std::string ApplicationFolder();

// Turns a raw folder into the form with exactly one trailing "/".
std::string WithTrailingSeparator(const std::string& folder);

} // namespace vx
