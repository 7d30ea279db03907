#include "IniFile.h"

#include "Numbers.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vx {

namespace {

long g_writeFault = -1;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    return Lower(Trim(a)) == Lower(Trim(b));
}

struct Line {
    std::string text;   // without its line end
    std::string ending; // "\n", "\r\n"; for a last line without a line feed "\r" or ""
};

// The lines of a text; a last line without a line feed keeps what it ends in
// ("\r" or nothing).
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        Line line{std::string(text.substr(0, end)), end == std::string_view::npos ? "" : "\n"};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = line.ending.empty() ? "\r" : "\r\n";
        }
        lines.push_back(std::move(line));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::vector<Line> ReadLines(const std::string& path) {
    return SplitLines(ReadWholeFile(path));
}

// Why a file of this type is no file to read or replace; nothing for a regular file.
std::optional<std::string> NotARegularFile(mode_t mode) {
    if (S_ISREG(mode)) return std::nullopt;
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
    if (S_ISSOCK(mode)) return "it is a socket, not a file";
    return "it is not a regular file";
}

// The section name of a "[name]" line.
bool SectionName(const std::string& text, std::string& name) {
    const std::string_view line = Trim(text);
    if (line.size() < 2 || line.front() != '[') return false;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = std::string(line.substr(1, close - 1));
    return true;
}

// The key and value of a "key=value" line; comments and other lines give false.
bool KeyValue(const std::string& text, std::string& key, std::string& value) {
    const std::string_view line = Trim(text);
    if (line.empty() || line.front() == ';') return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = std::string(Trim(line.substr(0, eq)));
    std::string_view v = Trim(line.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2); // a quoted value loses its quotes
    value = std::string(v);
    return true;
}

bool WriteAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        std::size_t chunk = content.size() - done;
        if (g_writeFault >= 0) {
            if (static_cast<long>(done) >= g_writeFault) return errno = ENOSPC, false;
            chunk = std::min<std::size_t>(chunk, static_cast<std::size_t>(g_writeFault) - done);
        }
        const ssize_t n = write(fd, content.data() + done, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string Reason(int error) {
    return std::strerror(error);
}

// A file the user may not write is left alone, also for a user (root) whom the
// system would let write it anyway: a file without any write permission was
// made read-only on purpose.
bool MayReplace(const std::string& path, std::string& reason) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return true; // created on the first write
    if (auto problem = NotARegularFile(info.st_mode)) {
        reason = *problem;
        return false;
    }
    if (access(path.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0) {
        reason = Reason(EACCES) + " (the file is read-only)";
        return false;
    }
    return true;
}

// Writes the file where it stands: for a folder in which no temporary file can
// be made (a shared installation whose settings file alone is writable).
WriteOutcome WriteInPlace(const std::string& path, const std::string& content) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return {false, Reason(errno)};
    bool ok = WriteAll(fd, content) && ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
              fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (close(fd) != 0 && ok) ok = false, error = errno;
    return ok ? WriteOutcome{} : WriteOutcome{false, Reason(error)};
}

// Replaces the file in one step (a temporary file, then a rename), keeping its
// mode; where no temporary file can be made, in place when that is allowed.
WriteOutcome ReplaceFile(const std::string& path, const std::string& content,
                         bool inPlaceAllowed = true, mode_t newFileMode = 0644) {
    struct stat info {};
    const bool exists = stat(path.c_str(), &info) == 0;
    if (exists)
        if (auto problem = NotARegularFile(info.st_mode)) return {false, *problem};
    const mode_t mode = exists ? (info.st_mode & 07777) : newFileMode;
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        if (inPlaceAllowed) return WriteInPlace(path, content);
        return {false, Reason(errno)};
    }
    fchmod(fd, mode);
    bool ok = WriteAll(fd, content) && fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (close(fd) != 0 && ok) ok = false, error = errno;
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false, error = errno;
    if (!ok) {
        unlink(temporary.c_str());
        return {false, Reason(error)};
    }
    SyncFolderOf(path);
    return {};
}

bool HoldsLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// The reader trims blanks off a value and takes one pair of matching quotes
// off it: a value that would lose either is written in one more pair of double
// quotes, so that it reads back byte for byte.
std::string StoredText(const std::string& value) {
    const bool blankAtAnEnd = Trim(value).size() != value.size();
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return blankAtAnEnd || quoted ? '"' + value + '"' : value;
}

bool IsComment(std::string_view line) {
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

} // namespace

std::optional<std::vector<IniSection>> ReadIniFile(const std::string& path, std::string* problem) {
    const auto text = ReadRegularFile(path, problem);
    if (!text) return std::nullopt;
    return ParseIniText(*text, problem);
}

std::optional<std::vector<IniSection>> ParseIniText(std::string_view text, std::string* problem) {
    auto fail = [problem](std::string reason) {
        if (problem) *problem = std::move(reason);
        return std::nullopt;
    };
    if (text.find('\0') != std::string_view::npos) return fail("it is not a text file");
    std::vector<IniSection> sections;
    std::string name, key, value;
    int number = 0;
    for (const Line& line : SplitLines(text)) {
        ++number;
        const std::string_view trimmed = Trim(line.text);
        if (trimmed.empty() || IsComment(trimmed)) continue;
        if (SectionName(line.text, name)) {
            sections.push_back({name, {}});
        } else if (!sections.empty() && KeyValue(line.text, key, value) && !key.empty()) {
            sections.back().entries.emplace_back(key, value);
        } else {
            return fail("line " + std::to_string(number) + " is not a setting");
        }
    }
    return sections;
}

std::optional<std::string> FormatIniFile(const std::vector<IniSection>& sections) {
    std::string content;
    for (const IniSection& section : sections) {
        if (HoldsLineBreak(section.name)) return std::nullopt;
        content += "[" + section.name + "]\n";
        for (const auto& [key, value] : section.entries) {
            if (HoldsLineBreak(key) || HoldsLineBreak(value)) return std::nullopt;
            content += key + "=" + StoredText(value) + "\n";
        }
    }
    return content;
}

WriteOutcome WriteFileAtomically(const std::string& path, const std::string& content,
                                 unsigned newFileMode) {
    return ReplaceFile(path, content, false, static_cast<mode_t>(newFileMode));
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::string* problem,
                                           std::size_t limit) {
    auto fail = [problem](std::string reason) {
        if (problem) *problem = std::move(reason);
        return std::nullopt;
    };
    // Looked at before it is opened (opening a device can do something), and
    // again once open, without waiting, in case the name was swapped between.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return fail(Reason(errno));
    if (auto refused = NotARegularFile(info.st_mode)) return fail(*refused);
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(Reason(errno));
    std::optional<std::string> refused;
    if (fstat(fd, &info) != 0)
        refused = Reason(errno);
    else
        refused = NotARegularFile(info.st_mode);
    const std::string tooLarge = "it is too large (more than " + std::to_string(limit) + " bytes)";
    if (!refused && static_cast<std::uintmax_t>(info.st_size) > limit) refused = tooLarge;
    std::string text;
    char buffer[64 * 1024];
    while (!refused) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) refused = Reason(errno);
        if (n <= 0) break;
        if (text.size() + static_cast<std::size_t>(n) > limit)
            refused = tooLarge;
        else
            text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    if (refused) return fail(*refused);
    return text;
}

std::string ReadWholeFile(const std::string& path) {
    return ReadRegularFile(path).value_or(std::string());
}

// After a rename, the folder's own entry is synced too, so that the new name
// survives a crash of the system.
void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

void InjectSettingsWriteFault(long bytes) {
    g_writeFault = bytes;
}

std::string ReadSetting(const std::string& path, const std::string& section,
                        const std::string& key) {
    bool inSection = false;
    std::string name, k, v;
    for (const Line& line : ReadLines(path)) {
        if (SectionName(line.text, name))
            inSection = SameName(name, section);
        else if (inSection && KeyValue(line.text, k, v) && SameName(k, key))
            return v;
    }
    return {};
}

WriteOutcome WriteSetting(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value) {
    // A line break would cut the value and send the rest into a line of its own.
    if (HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value))
        return {false, "a setting cannot hold a line break"};
    std::string reason;
    if (!MayReplace(path, reason)) return {false, reason};
    std::vector<Line> lines = ReadLines(path);
    const std::string ending = (!lines.empty() && lines.front().ending == "\r\n") ? "\r\n" : "\n";
    std::string name, k, v;
    int sectionLine = -1, lastInSection = -1, keyLine = -1;
    for (int i = 0; i < static_cast<int>(lines.size()) && keyLine < 0; ++i) {
        const std::string& text = lines[static_cast<std::size_t>(i)].text;
        if (SectionName(text, name)) {
            if (sectionLine >= 0) break; // the end of the first matching section
            if (SameName(name, section)) sectionLine = lastInSection = i;
        } else if (sectionLine >= 0) {
            if (!Trim(text).empty()) lastInSection = i;
            if (KeyValue(text, k, v) && SameName(k, key)) keyLine = i;
        }
    }
    const std::string stored = StoredText(value);
    if (keyLine >= 0) {
        lines[static_cast<std::size_t>(keyLine)].text = k + "=" + stored;
    } else {
        if (!lines.empty() && !lines.back().ending.ends_with('\n'))
            lines.back().ending = lines.back().ending.empty() ? ending : "\r\n";
        const Line entry{key + "=" + stored, ending};
        if (sectionLine >= 0) {
            lines.insert(lines.begin() + lastInSection + 1, entry);
        } else {
            lines.push_back({"[" + section + "]", ending});
            lines.push_back(entry);
        }
    }
    std::string content;
    for (const Line& line : lines)
        content += line.text + line.ending;
    return ReplaceFile(path, content);
}

} // namespace vx
