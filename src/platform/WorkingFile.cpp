#include "WorkingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::string_view kMark = ".vxpart";
constexpr int kAttempts = 100;

// Where the file name starts, and where its extension starts (the name's end
// when it has none; a leading dot starts no extension).
std::pair<std::size_t, std::size_t> NameParts(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    const bool extension = dot != std::string::npos && dot > name;
    return {name, extension ? dot : path.size()};
}

} // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

bool RemoveIfSame(const std::string& path, const FileIdentity& identity) {
    if (IdentityOf(path) != identity) return false;
    return ::unlink(path.c_str()) == 0;
}

std::string WorkingName(const std::string& finalPath, int attempt) {
    const std::size_t extension = NameParts(finalPath).second;
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about a
    // literal joined to a temporary string.
    std::string name = finalPath.substr(0, extension);
    name += kMark;
    if (attempt > 0) {
        name += '-';
        name += std::to_string(attempt);
    }
    name.append(finalPath, extension);
    return name;
}

namespace {

// Whether the mark, with an attempt's number or without, ends at `end`.
bool MarkEndsAt(const std::string& path, std::size_t name, std::size_t end) {
    const std::size_t mark = path.rfind(kMark, end);
    if (mark == std::string::npos || mark <= name) return false;
    std::size_t at = mark + kMark.size();
    if (at < end && path[at] == '-') {
        const std::size_t digits = ++at;
        while (at < end && path[at] >= '0' && path[at] <= '9')
            ++at;
        if (at == digits) return false;
    }
    return at == end;
}

} // namespace

bool IsWorkingName(const std::string& path) {
    const auto [name, extension] = NameParts(path);
    if (MarkEndsAt(path, name, extension)) return true;
    // A final name without extension: the mark ends the name.
    const std::size_t mark = path.rfind(kMark);
    return mark == extension && path.find('.', name + 1) == mark &&
           MarkEndsAt(path, name, path.size());
}

std::optional<WorkingFile> CreateWorkingFile(const std::string& finalPath, std::string* reason) {
    int error = EEXIST;
    for (int attempt = 0; attempt < kAttempts && error == EEXIST; ++attempt) {
        const std::string path = WorkingName(finalPath, attempt);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            error = errno;
            continue;
        }
        struct stat info {};
        const bool known = ::fstat(fd, &info) == 0;
        error = errno;
        ::close(fd);
        if (known)
            return WorkingFile{
                path,
                {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}};
        ::unlink(path.c_str());
    }
    if (reason) *reason = std::strerror(error);
    return std::nullopt;
}

std::optional<std::string> PromoteWorkingFile(const WorkingFile& working,
                                              const std::string& finalPath) {
    if (IdentityOf(working.path) != working.identity)
        return "the file being written (" + working.path + ") was moved or replaced meanwhile";
    if (::rename(working.path.c_str(), finalPath.c_str()) != 0) return std::strerror(errno);
    return std::nullopt;
}

} // namespace vx
