#include "OutputFolder.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace vx {

namespace fs = std::filesystem;

std::string AbsoluteOutputFolder(const std::string& folder, const std::string& appFolder,
                                 const std::string& home) {
    if (folder == "~") return home;
    if (folder.rfind("~/", 0) == 0) return (fs::path(home) / folder.substr(2)).string();
    if (!folder.empty() && folder.front() == '/') return folder;
    return (fs::path(appFolder) / folder).string();
}

std::string RowOutputFolder(const std::string& outputFolder, const std::string& root,
                            const std::string& source, bool keepFolders) {
    if (!keepFolders || root.empty()) return outputFolder;
    const fs::path below = fs::path(source).parent_path().lexically_relative(root);
    // Only a path that stays below the folder (the scan gives no other) is kept.
    if (below.empty() || below == "." || *below.begin() == "..") return outputFolder;
    return (fs::path(outputFolder) / below).string();
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::optional<std::string> EnsureFolder(const std::string& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error)) return std::nullopt;
    fs::create_directories(folder, error);
    if (error) return error.message();
    if (!fs::is_directory(folder, error)) return std::string("it is not a folder");
    return std::nullopt;
}

} // namespace vx
