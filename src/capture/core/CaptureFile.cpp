#include "CaptureFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

namespace fs = std::filesystem;

constexpr int kMostNames = 100000;

// The whole path of a typed name; a relative one lies in `folder`.
std::string WholePath(const std::string& typed, const std::string& folder) {
    const fs::path path(typed);
    if (path.is_absolute()) return typed;
    return (fs::path(folder) / path).lexically_normal().string();
}

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

std::string NextCaptureName(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    auto dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameAt) dot = path.size(); // no extension
    std::string stem = path.substr(0, dot);
    long number = 1;
    // "clip-2" counts on from 2; "clip-02" and "-2" are names, not numbers.
    const auto dash = stem.rfind('-');
    if (dash != std::string::npos && dash > nameAt && dash + 1 < stem.size() &&
        stem[dash + 1] != '0' && stem.size() - dash <= 7 &&
        stem.find_first_not_of("0123456789", dash + 1) == std::string::npos) {
        number = std::stol(stem.substr(dash + 1));
        stem.erase(dash);
    }
    return stem + "-" + std::to_string(number + 1) + path.substr(dot);
}

CaptureTarget ReserveCaptureFile(const std::string& typed, const std::string& folder) {
    if (Blank(typed)) return {{}, "no file name"};
    CaptureTarget target{WholePath(typed, folder), {}};
    struct stat info {};
    if (stat(target.path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return {target.path, std::strerror(EISDIR)};
    for (int tries = 0; tries < kMostNames; ++tries) {
        const int fd = open(target.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            return target;
        }
        if (errno != EEXIST) {
            target.reason = std::strerror(errno);
            return target;
        }
        target.path = NextCaptureName(target.path);
    }
    target.reason = "no free file name";
    return target;
}

void ReleaseCaptureFile(const std::string& path) {
    struct stat info {};
    if (!path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size == 0)
        unlink(path.c_str());
}

} // namespace vx
