#include "WatchRecord.h"

#include "FieldText.h"
#include "IniFile.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace vx {

namespace {

bool Number(std::string_view text, std::int64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool Current(const std::string& file, WatchedFile& now) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0) return false;
    now.size = info.st_size;
    now.mtime = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

// A short name from the folder's path, so that each watched folder has its own record.
std::string RecordName(const std::string& root) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const unsigned char c : root)
        hash = (hash ^ c) * 1099511628211ull;
    char name[48];
    std::snprintf(name, sizeof name, "watched-%016llx.txt", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

std::string EncodeWatchRecord(const std::map<std::string, WatchedFile>& files) {
    std::string text;
    for (const auto& [path, file] : files)
        text += std::to_string(file.size) + '\t' + std::to_string(file.mtime) + '\t' + file.result +
                '\t' + EscapedField(path) + '\n';
    return text;
}

std::map<std::string, WatchedFile> DecodeWatchRecord(std::string_view text) {
    std::map<std::string, WatchedFile> files;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::string_view fields[4];
        bool whole = true;
        for (int i = 0; i < 3 && whole; ++i) {
            const auto tab = line.find('\t');
            whole = tab != std::string_view::npos;
            fields[i] = line.substr(0, tab);
            if (whole) line.remove_prefix(tab + 1);
        }
        fields[3] = line;
        WatchedFile file;
        const auto path = whole ? UnescapedField(fields[3]) : std::nullopt;
        if (!path || path->empty() || !Number(fields[0], file.size) ||
            !Number(fields[1], file.mtime) || fields[2].empty() ||
            fields[2].find('\\') != std::string_view::npos)
            continue;
        file.result = std::string(fields[2]);
        files[*path] = file;
    }
    return files;
}

WatchRecord::WatchRecord(const std::string& stateFolder, const std::string& root)
    : path_(stateFolder + "/" + RecordName(root)) {
    files_ = DecodeWatchRecord(ReadWholeFile(path_));
}

bool WatchRecord::Done(const std::string& file) const {
    const auto it = files_.find(file);
    WatchedFile now;
    return it != files_.end() && Current(file, now) && now.size == it->second.size &&
           now.mtime == it->second.mtime;
}

bool WatchRecord::Add(const std::string& file, const std::string& result, std::string* why) {
    WatchedFile now;
    if (!Current(file, now)) return true; // gone meanwhile: nothing to remember
    now.result = result;
    files_[file] = now;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    const WriteOutcome outcome = WriteFileAtomically(path_, EncodeWatchRecord(files_), 0600);
    if (!outcome && why) *why = path_ + ": " + outcome.reason;
    return outcome.ok;
}

} // namespace vx
