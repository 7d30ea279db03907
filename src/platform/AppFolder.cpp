#include "AppFolder.h"

#include <filesystem>
#include <system_error>

namespace vx {

std::string ApplicationFolderRaw() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error).string();
    std::string folder = exe.parent_path().string();
    return folder.empty() ? "/" : folder;
}

std::string ApplicationFolder() {
    return WithTrailingSeparator(ApplicationFolderRaw());
}

std::string WithTrailingSeparator(const std::string& folder) {
    if (!folder.empty() && folder.back() == '/') return folder;
    return folder + "/";
}

} // namespace vx
