#include "UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace vx {

std::string FolderWriteProblem(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return error.message();
    std::string probe = folder + "/.write-test-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

namespace {

std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return (value && value[0] == '/') ? std::string(value) : std::string();
}

// The text between the double quotes with the writer's backslash escapes undone;
// empty when the text is not one quoted word.
std::string Unquote(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return {};
    std::string value;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size()) ++i;
        value += text[i];
    }
    return value;
}

// "$HOME/Films" or "/srv/films" as a path; empty for any other form.
std::string ExpandUserDir(std::string_view quoted, const std::string& home) {
    const std::string value = Unquote(quoted);
    constexpr std::string_view kHome = "$HOME";
    if (value.compare(0, kHome.size(), kHome) == 0) {
        const std::string rest = value.substr(kHome.size());
        if (!rest.empty() && rest.front() != '/') return {};
        return home + rest;
    }
    return (!value.empty() && value.front() == '/') ? value : std::string();
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The last XDG_VIDEOS_DIR assignment of user-dirs.dirs, expanded; empty when there is none.
std::string ConfiguredVideosFolder(const std::string& home) {
    std::ifstream in(ConfigHome() + "/user-dirs.dirs");
    std::string line, folder;
    constexpr std::string_view kKey = "XDG_VIDEOS_DIR=";
    while (std::getline(in, line)) {
        const std::string_view text = Trimmed(line);
        if (text.substr(0, kKey.size()) != kKey) continue;
        folder = ExpandUserDir(Trimmed(text.substr(kKey.size())), home);
    }
    return folder;
}

} // namespace

bool FolderWritable(const std::string& folder) {
    return access(folder.c_str(), W_OK) == 0;
}

std::string UserHomeFolder() {
    std::string home = AbsoluteVariable("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        home = found->pw_dir;
    return home.empty() ? "/" : home;
}

std::string ConfigHome() {
    const std::string configured = AbsoluteVariable("XDG_CONFIG_HOME");
    return configured.empty() ? UserHomeFolder() + "/.config" : configured;
}

std::string StateHome() {
    const std::string configured = AbsoluteVariable("XDG_STATE_HOME");
    return configured.empty() ? UserHomeFolder() + "/.local/state" : configured;
}

std::string VideosFolder() {
    const std::string home = UserHomeFolder();
    std::string folder = ConfiguredVideosFolder(home);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error)) return folder;
    return home;
}

} // namespace vx
