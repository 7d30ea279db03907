#include "ConvertArgs.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vx {

const char* const kConvertUsage =
    "Usage: vantorix-convert --list-profiles\n"
    "       vantorix-convert -p ENTRY [options] FILE|FOLDER...\n"
    "       vantorix-convert -p ENTRY [options] --watch FOLDER\n"
    "\n"
    "Converts Flash Video files (.flv, .f4v) with one entry of the profile list, as the\n"
    "window does. A folder gives every Flash Video file below it.\n"
    "\n"
    "  -p, --profile ENTRY   the entry's position in the list, or its exact text\n"
    "  --set NAME=VALUE      changes one option, named as the option sheet names it\n"
    "                        (\"Video Size=1280x720\"); may be given several times\n"
    "  -o, --output FOLDER   the output folder (default: the settings file's)\n"
    "  -j, --jobs N          files converted at once, 0 automatic (default: settings)\n"
    "  --add-new             add \"_New\" to a name that is taken (default: settings)\n"
    "  --overwrite           replace an existing output file instead\n"
    "  --keep-folders        a file found in a folder goes below the output folder as\n"
    "                        it lay below that folder (default: settings)\n"
    "  --start TIME          trims every file from TIME (H:MM:SS, M:SS or seconds,\n"
    "                        under 24 hours); a file shorter than that fails\n"
    "  --end TIME            ... to TIME, which must come after the start\n"
    "  --join                the files, in the order given, become one output named after\n"
    "                        the first (lossless with entries that copy the streams)\n"
    "  --dry-run             prints the encoder's command lines, one a line, for a\n"
    "                        POSIX shell, and converts nothing; a file whose name\n"
    "                        holds a line break or another control character is\n"
    "                        left out and said on standard error (status 1)\n"
    "  --watch FOLDER        converts each FLV file that arrives below FOLDER once it\n"
    "                        has not grown for two seconds, each file once, until\n"
    "                        interrupted\n"
    "  --list-profiles       prints every entry: position, heading and text\n"
    "  -h, --help            prints this text\n"
    "\n"
    "Outputs are written as NAME.vxpart.EXT beside their final name and take it\n"
    "only when whole; --dry-run prints the final names.\n"
    "\n"
    "Exit status: 0 every file converted, 1 a file failed or was left out, 2 a usage\n"
    "error or nothing to convert, 130 interrupted: Ctrl+C, SIGTERM, SIGHUP (a closed\n"
    "terminal) and SIGQUIT each cancel as the window's Cancel does, leaving no\n"
    "half-written file.\n";

namespace {

// "--name value" or "--name=value"; false when the option needs a value and has none.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
               std::string& value) {
    const std::string& argument = arguments[i];
    if (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= arguments.size()) return false;
    value = arguments[++i];
    return true;
}

bool Is(const std::string& argument, const char* shortName, const char* longName) {
    if (shortName && argument == shortName) return true;
    const std::string name = longName;
    return argument == name ||
           (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0);
}

std::optional<int> AtOnce(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > 16) return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::optional<int> ReadClipTime(std::string_view given, std::string* problem) {
    constexpr long kDay = 86400;
    constexpr long kTooLong = 10 * kDay; // a field this large is past any day already
    auto fail = [&](std::string reason) -> std::optional<int> {
        if (problem) *problem = std::move(reason);
        return std::nullopt;
    };
    const std::string notATime = "needs a time (H:MM:SS, M:SS or seconds)";
    // The fields, most significant first: whole digits, the later ones 0 to 59.
    std::vector<long> fields;
    std::size_t from = 0;
    while (true) {
        const std::size_t colon = given.find(':', from);
        const std::string_view field =
            given.substr(from, colon == std::string_view::npos ? colon : colon - from);
        if (field.empty() || field.find_first_not_of("0123456789") != std::string_view::npos)
            return fail(notATime);
        long value = 0;
        for (const char digit : field)
            value = std::min(kTooLong, value * 10 + (digit - '0'));
        if (!fields.empty() && (field.size() > 2 || value > 59)) return fail(notATime);
        fields.push_back(value);
        if (fields.size() > 3) return fail(notATime);
        if (colon == std::string_view::npos) break;
        from = colon + 1;
    }
    long seconds = 0;
    for (const long field : fields)
        seconds = std::min(kTooLong, seconds * 60 + field);
    if (seconds >= kDay) return fail("needs a time under 24 hours (at most 23:59:59)");
    return static_cast<int>(seconds);
}

ParsedArgs ParseConvertArgs(const std::vector<std::string>& arguments) {
    ParsedArgs parsed;
    ConvertArgs& args = parsed.args;
    auto fail = [&](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        std::string value;
        if (onlyFiles || a == "-" || a.empty() || a[0] != '-') {
            args.files.push_back(a);
        } else if (a == "--") {
            onlyFiles = true;
        } else if (a == "-h" || a == "--help") {
            args.help = true;
        } else if (a == "--list-profiles") {
            args.listProfiles = true;
        } else if (a == "--dry-run") {
            args.dryRun = true;
        } else if (a == "--keep-folders") {
            args.keepFolders = true;
        } else if (a == "--join") {
            args.join = true;
        } else if (a == "--add-new" || a == "--overwrite") {
            args.addNew = a == "--add-new";
        } else if (Is(a, "-p", "--profile")) {
            if (!TakeValue(arguments, i, "--profile", args.entry)) return fail("-p needs an entry");
        } else if (Is(a, nullptr, "--set")) {
            if (!TakeValue(arguments, i, "--set", value) || value.find('=') == std::string::npos)
                return fail("--set needs NAME=VALUE");
            const auto equals = value.find('=');
            args.sets.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else if (Is(a, "-o", "--output")) {
            if (!TakeValue(arguments, i, "--output", value) || value.empty())
                return fail("-o needs a folder");
            args.outputFolder = value;
        } else if (Is(a, "-j", "--jobs")) {
            if (!TakeValue(arguments, i, "--jobs", value) || !(args.atOnce = AtOnce(value)))
                return fail("-j needs a number of files at once from 0 (automatic) to 16");
        } else if (Is(a, nullptr, "--start") || Is(a, nullptr, "--end")) {
            const bool start = Is(a, nullptr, "--start");
            const std::string name = start ? "--start" : "--end";
            std::string problem = "needs a time (H:MM:SS, M:SS or seconds)";
            const bool given = TakeValue(arguments, i, name, value);
            const auto seconds = given ? ReadClipTime(value, &problem) : std::nullopt;
            if (!seconds) return fail(name + " " + problem);
            (start ? args.start : args.end) = seconds;
        } else if (Is(a, nullptr, "--watch")) {
            if (!TakeValue(arguments, i, "--watch", value) || value.empty())
                return fail("--watch needs a folder");
            args.watch = value;
        } else {
            return fail("unknown option " + a);
        }
    }
    if (args.help || args.listProfiles) return parsed;
    if (args.end && *args.end <= args.start.value_or(0))
        return fail("--end must come after the start: an empty clip converts nothing");
    if (args.entry.empty()) return fail("choose an entry with -p (see --list-profiles)");
    if (args.watch && !args.files.empty()) return fail("--watch takes no files");
    if (args.files.empty() && !args.watch) return fail("name the files to convert");
    return parsed;
}

} // namespace vx
