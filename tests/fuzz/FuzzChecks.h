#pragma once
// The checks behind the fuzz targets and their regression test: each takes one
// input of arbitrary bytes, runs the code under test on it and gives back what
// went wrong (empty when every property held). A crash is a failure too; the
// fuzz build runs the checks under AddressSanitizer and UndefinedBehaviorSanitizer.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace vx::fuzz {

// The settings file: values written are read back, hand-written files survive a write.
std::string CheckSettings(std::string_view input);
// The player's identify report and its line split.
std::string CheckIdentifyReport(std::string_view input);
// Quoting paths into command texts and splitting them again.
std::string CheckCommandLine(std::string_view input);
// Time text written and read back.
std::string CheckTimeText(std::string_view input);
// Number text written and read back.
std::string CheckNumbers(std::string_view input);
// The converter's arguments: clip times as typed or refused.
std::string CheckConvertArgs(std::string_view input);
// The dry run's lines: one line a command, its arguments given back.
std::string CheckDryRun(std::string_view input);
// The kept list decoded, encoded and decoded again.
std::string CheckKeptList(std::string_view input);
// Profile files read whole and checked; checked option values one argument each.
std::string CheckProfile(std::string_view input);

// A folder of this process for the checks' files, in memory where /dev/shm is
// there (so that the writers' fsync costs nothing); made on the first call and
// removed at exit.
std::string ScratchFolder();

// The targets by name, as their folders under tests/fuzz are named.
struct Target {
    const char* name;
    std::string (*check)(std::string_view input);
};
inline constexpr Target kTargets[] = {
    {"settings", CheckSettings},   {"identify", CheckIdentifyReport},
    {"cmdline", CheckCommandLine}, {"timetext", CheckTimeText},
    {"numbers", CheckNumbers},     {"convertargs", CheckConvertArgs},
    {"dryrun", CheckDryRun},       {"keptlist", CheckKeptList},
    {"profile", CheckProfile},
};

// Takes bytes off the front of a fuzz input; once it runs dry, it gives zeros
// and empty texts, so every input, however short, is a complete case.
class InputReader {
  public:
    explicit InputReader(std::string_view input) : rest_(input) {}
    unsigned char Byte() {
        if (rest_.empty()) return 0;
        const auto c = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return c;
    }
    // A text of up to 255 bytes, its length in the byte before it.
    std::string Text() { return Take(Byte()); }
    std::string Take(std::size_t count) {
        const std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(taken.size());
        return std::string(taken);
    }
    std::string Rest() { return Take(rest_.size()); }
    bool Empty() const { return rest_.empty(); }

  private:
    std::string_view rest_;
};

// A text for a failure message: in double quotes, bytes outside printable
// ASCII (and the quote and backslash) as \xNN.
inline std::string Show(std::string_view text) {
    std::string shown = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\') {
            shown.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        }
    }
    return shown + "\"";
}

// Eight bytes off the reader as the bits of a number (zeros where it runs dry).
template <typename Number> Number Bits(InputReader& in) {
    static_assert(sizeof(Number) == 8);
    const std::string bytes = in.Take(8) + std::string(8, '\0');
    Number number;
    std::memcpy(&number, bytes.data(), sizeof number);
    return number;
}

} // namespace vx::fuzz
