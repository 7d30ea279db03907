// Command texts: any path (NUL aside) quoted into a command text splits back
// byte for byte, and any text splits without harm into arguments that, quoted
// again, split back the same.

#include "CommandLine.h"
#include "FuzzChecks.h"
#include "Probe.h"

#include <vector>

namespace vx::fuzz {

namespace {

std::string ShowArguments(const std::vector<std::string>& arguments) {
    std::string shown = "{";
    for (const std::string& argument : arguments)
        shown += (shown.size() > 1 ? ", " : "") + Show(argument);
    return shown + "}";
}

std::string CheckAnyText(std::string_view text) {
    const std::vector<std::string> arguments = SplitCommandLine(text);
    std::string requoted;
    for (const std::string& argument : arguments)
        requoted += (requoted.empty() ? "" : " ") + Quoted(argument);
    const std::vector<std::string> again = SplitCommandLine(requoted);
    if (again != arguments)
        return "the arguments " + ShowArguments(arguments) + " quoted again split into " +
               ShowArguments(again);
    return {};
}

std::string CheckPath(const std::string& path) {
    const std::string line = "\"/app/fp.dll\" -i " + Quoted(path) + " x " + Quoted(path);
    const std::vector<std::string> expected = {"/app/fp.dll", "-i", path, "x", path};
    if (const auto split = SplitCommandLine(line); split != expected)
        return "the path " + Show(path) + " splits into " + ShowArguments(split);
    const auto identify = SplitCommandLine(IdentifyCommandLine("/app folder/", path));
    if (identify.size() < 2 || identify.front() != "/app folder/mp.dll" || identify.back() != path)
        return "the identify command of " + Show(path) + " splits into " + ShowArguments(identify);
    // A path without a double quote and without a trailing backslash keeps the
    // plain text: the path between double quotes.
    const bool plain = path.find('"') == std::string::npos && !path.ends_with('\\');
    if (plain && Quoted(path) != "\"" + path + "\"")
        return "the plain path " + Show(path) + " is written as " + Show(Quoted(path));
    return {};
}

} // namespace

std::string CheckCommandLine(std::string_view input) {
    if (std::string broken = CheckAnyText(input); !broken.empty()) return broken;
    std::string path(input);
    std::erase(path, '\0'); // no file name holds one
    return CheckPath(path);
}

} // namespace vx::fuzz
