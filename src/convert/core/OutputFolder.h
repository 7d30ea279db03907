#pragma once
// The output folder of a batch, made absolute once at its start, so that the
// output path, the "_New" rule, the guard against writing over a source, the
// encoder and the folder opened at the end all mean the same folder.

#include <optional>
#include <string>

namespace vx {

// A relative folder is taken relative to the application folder, a leading
// "~/" (or "~" alone) is the user's home folder; an absolute one is kept.
std::string AbsoluteOutputFolder(const std::string& folder, const std::string& appFolder,
                                 const std::string& home);

// The folder of one row's output. Keeping folders, a file added with the folder
// `root` goes where it lay below that folder: <output folder>/<sub-folders>; a
// file added on its own (empty root) goes to the output folder itself.
std::string RowOutputFolder(const std::string& outputFolder, const std::string& root,
                            const std::string& source, bool keepFolders);

// The user's home folder ($HOME, or the password database's).
std::string HomeFolder();

// Creates the folder with its parents when it is missing; the reason when it
// cannot be created (or is no folder), nothing when it is there.
std::optional<std::string> EnsureFolder(const std::string& folder);

} // namespace vx
