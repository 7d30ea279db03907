// The player's identify report: any output is read without harm, the line
// split loses nothing but line ends, the report does not depend on how the
// tool ends its lines, and the reading goes on to the end unless a size that
// is no whole number stopped it.

#include "FuzzChecks.h"
#include "Probe.h"

namespace vx::fuzz {

namespace {

bool Same(const IdentifyReport& a, const IdentifyReport& b) {
    return a.width == b.width && a.height == b.height && a.length == b.length &&
           a.format == b.format && a.failed == b.failed;
}

std::string Describe(const IdentifyReport& report) {
    return std::to_string(report.width) + "x" + std::to_string(report.height) + " length " +
           (report.length ? std::to_string(*report.length) : "none") + " format " +
           (report.format ? Show(*report.format) : "none") + (report.failed ? " failed" : "");
}

std::string CheckLineSplit(const std::string& output) {
    std::string joined;
    for (const std::string& line : SplitLines(output)) {
        if (line.empty()) return "an empty line";
        if (line.find_first_of("\r\n") != std::string::npos) return "a line holds a line end";
        joined += line;
    }
    std::string expected = output;
    std::erase_if(expected, [](char c) { return c == '\r' || c == '\n'; });
    if (joined != expected) return "the lines lose or add text: " + Show(joined);
    return {};
}

std::string Replaced(const std::string& text, char from, const std::string& to) {
    std::string out;
    for (const char c : text)
        c == from ? out += to : out += c;
    return out;
}

// A fact whose key the output never names keeps its starting value.
std::string CheckUnnamedKeys(const std::string& output, const IdentifyReport& report) {
    const auto names = [&](const char* key) {
        return output.find(std::string(key) + "=") != std::string::npos;
    };
    if (!names("ID_VIDEO_WIDTH") && report.width != 0) return "a width without its key";
    if (!names("ID_VIDEO_HEIGHT") && report.height != 0) return "a height without its key";
    if (!names("ID_LENGTH") && report.length) return "a length without its key";
    if (!names("ID_VIDEO_FORMAT") && report.format) return "a format without its key";
    if (report.failed && !names("ID_VIDEO_WIDTH") && !names("ID_VIDEO_HEIGHT"))
        return "failed without a size";
    return {};
}

} // namespace

std::string CheckIdentifyReport(std::string_view input) {
    const std::string output(input);
    if (std::string broken = CheckLineSplit(output); !broken.empty()) return broken;

    const IdentifyReport report = ParseIdentifyReport(output);
    for (const char* ending : {"\r\n", "\r", "\n\n"}) {
        const IdentifyReport other = ParseIdentifyReport(Replaced(output, '\n', ending));
        if (!Same(other, report))
            return "the line ends change the report: " + Describe(report) + " became " +
                   Describe(other);
    }
    if (std::string broken = CheckUnnamedKeys(output, report); !broken.empty()) return broken;
    if (report.format) {
        if (report.format->find_first_of("=\r\n") != std::string::npos)
            return "the format holds \"=\" or a line end: " + Show(*report.format);
        if (output.find("ID_VIDEO_FORMAT=" + *report.format) == std::string::npos)
            return "the format is not the text of its line: " + Show(*report.format);
    }
    const IdentifyReport extended = ParseIdentifyReport(
        output +
        "\nID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_LENGTH=125.4\nID_VIDEO_FORMAT=FLV1\n");
    if (report.failed) {
        if (!Same(extended, report)) return "the reading went on after a size that is no number";
    } else if (extended.width != 320 || extended.height != 240 || extended.length != 125.4 ||
               extended.format != "FLV1" || extended.failed) {
        return "the lines after the output were not taken: " + Describe(extended);
    }
    return {};
}

} // namespace vx::fuzz
