// The settings file: what the program may store is read back byte for byte,
// and a write into any hand-written file changes one line and keeps the others.
//
// What may be stored: values without NUL and without line breaks (a value with
// a CR or LF is refused and leaves the file as it was); keys that are the
// program's own names or any other name without NUL, CR, LF and "=", without
// blanks at its ends and not beginning with ";" (a comment) or "[" (a section).
// Key and section names are matched without regard to ASCII case.

#include "FuzzChecks.h"
#include "IniFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>
#include <vector>

namespace vx::fuzz {

namespace {

const char* const kProgramKeys[] = {"outputfolder", "existedfile", "autoshut",
                                    "thread",       "profile",     "parallel"};
const char* const kSections[] = {"set", "Set", "SET"};

std::string SettingsFile() {
    return ScratchFolder() + "/settings.dat";
}

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool HoldsLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// The text with its ASCII letters in lower case, or in upper case.
std::string Cased(std::string text, bool upper = false) {
    for (char& c : text)
        if (c >= (upper ? 'a' : 'A') && c <= (upper ? 'z' : 'Z'))
            c = static_cast<char>(c + (upper ? 'A' - 'a' : 'a' - 'A'));
    return text;
}

// A fuzzed text made into a key name the file can hold (see the top).
std::string LegalKey(std::string text) {
    std::erase_if(text, [](char c) { return c == '\0' || c == '\r' || c == '\n' || c == '='; });
    while (!text.empty() && (IsBlank(text.front()) || text.front() == ';' || text.front() == '['))
        text.erase(0, 1);
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    return text.empty() ? "key" : text;
}

// One write's section and key: the program's names or a fuzzed name, now and
// then in upper case.
struct Place {
    std::string section;
    std::string key;
};

Place ChoosePlace(InputReader& in) {
    const unsigned choice = in.Byte();
    const unsigned which = choice / 3 % 8;
    std::string key = which < 6 ? kProgramKeys[which] : LegalKey(in.Text());
    if (choice / 24 % 2 == 1) key = Cased(key, true);
    return {kSections[choice % 3], key};
}

std::string StorableValue(InputReader& in) {
    std::string value = in.Text();
    std::erase(value, '\0');
    return value;
}

// A refused write (a value with a line break) must leave the file as it was.
std::string CheckRefused(const std::string& path, const Place& target, const std::string& value,
                         const std::string& before) {
    if (WriteSetting(path, target.section, target.key, value))
        return "a value with a line break was written: " + Show(value);
    if (Content(path) != before) return "a refused write changed the file";
    return {};
}

std::string CheckReadBack(const std::string& path, const std::string& key,
                          const std::string& expected) {
    const std::string read = ReadSetting(path, "sEt", key);
    if (read == expected) return {};
    return "key " + Show(key) + " reads back " + Show(read) + " instead of " + Show(expected) +
           "; the file: " + Show(Content(path));
}

// A fresh file and up to 16 writes: each key reads back the value just written
// to it, and in the end every key written reads back the last value written to
// it and the program's other keys read empty.
std::string CheckWritesReadBack(InputReader& in) {
    const std::string path = SettingsFile();
    std::filesystem::remove(path);
    std::map<std::string, std::string> stored; // by folded key name
    for (int step = 0; step < 16 && !in.Empty(); ++step) {
        const Place target = ChoosePlace(in);
        const std::string value = StorableValue(in);
        if (HoldsLineBreak(value)) {
            if (std::string broken = CheckRefused(path, target, value, Content(path));
                !broken.empty())
                return broken;
            continue;
        }
        if (const WriteOutcome written = WriteSetting(path, target.section, target.key, value);
            !written)
            return "the write of " + Show(target.key) + " failed: " + written.reason;
        stored[Cased(target.key)] = value;
        if (std::string broken = CheckReadBack(path, Cased(target.key), value); !broken.empty())
            return broken;
    }
    for (const auto& [key, expected] : stored)
        if (std::string broken = CheckReadBack(path, key, expected); !broken.empty()) return broken;
    for (const char* key : kProgramKeys)
        if (!stored.contains(key) && !ReadSetting(path, "set", key).empty())
            return std::string("key ") + key + " was never written but reads a value";
    return {};
}

// The file's lines, each with its line feed (the last one may have none).
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// True when the new file is the old one with one line rewritten, one line
// inserted, or the section and its key appended at the end.
bool OneLineChanged(const std::string& before, const std::string& after,
                    const std::string& section) {
    const std::vector<std::string> a = Lines(before), b = Lines(after);
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::size_t removed = a.size() - prefix - suffix;
    const std::size_t added = b.size() - prefix - suffix;
    if (removed == added && removed <= 1) return true; // rewritten (perhaps as it was)
    if (removed == 0 && added == 1) return true;
    return removed == 0 && added == 2 && prefix == a.size() &&
           b[prefix].starts_with("[" + section + "]");
}

// A hand-written file (any bytes) and one write: the file keeps every other
// line (a last line without a line end may gain one), the key reads back the
// value, and every other key reads what it read before.
std::string CheckHandWrittenFile(InputReader& in) {
    const std::string path = SettingsFile();
    const Place target = ChoosePlace(in);
    const std::string value = StorableValue(in);
    const std::string before = in.Rest();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << before;
    std::map<std::string, std::string> earlier;
    for (const char* key : kProgramKeys)
        earlier[key] = ReadSetting(path, "set", key);
    if (HoldsLineBreak(value)) return CheckRefused(path, target, value, before);
    if (const WriteOutcome written = WriteSetting(path, target.section, target.key, value);
        !written)
        return "the write of " + Show(target.key) + " failed: " + written.reason;
    const std::string after = Content(path);
    bool kept = OneLineChanged(before, after, target.section);
    if (!before.empty() && before.back() != '\n')
        kept = kept || OneLineChanged(before + "\n", after, target.section) ||
               OneLineChanged(before + "\r\n", after, target.section);
    if (!kept) return "the write changed other lines: " + Show(before) + " became " + Show(after);
    if (std::string broken = CheckReadBack(path, target.key, value); !broken.empty()) return broken;
    for (const auto& [key, value] : earlier)
        if (key != Cased(target.key) && ReadSetting(path, "set", key) != value)
            return "key " + Show(key) + " changed by the write of " + Show(target.key);
    return {};
}

} // namespace

std::string CheckSettings(std::string_view input) {
    InputReader in(input);
    return in.Byte() % 2 == 0 ? CheckWritesReadBack(in) : CheckHandWrittenFile(in);
}

std::string ScratchFolder() {
    static const std::string folder = [] {
        const std::string base = access("/dev/shm", W_OK) == 0
                                     ? std::string("/dev/shm")
                                     : std::filesystem::temp_directory_path().string();
        std::string made = base + "/vx-fuzz-XXXXXX";
        if (!mkdtemp(made.data())) std::abort();
        return made;
    }();
    // Registered once the folder's name is made, so that it runs before that name goes.
    static const bool cleanup = [] {
        std::atexit([] { std::filesystem::remove_all(folder); });
        return true;
    }();
    (void)cleanup;
    return folder;
}

} // namespace vx::fuzz
