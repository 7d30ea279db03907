// Profile files and option values: the whole-file reader gives back what the
// file holds; the option check never lets through a value that the command
// line would refuse; and every value a designed command holds as text is one
// argument of it, in its place after its option.

#include "Catalog.h"
#include "CodecMaps.h"
#include "CommandLine.h"
#include "EncoderCommand.h"
#include "FuzzChecks.h"
#include "IniFile.h"
#include "OfferedValues.h"
#include "SheetLayout.h"
#include "UserProfiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace vx::fuzz {

namespace {

const char* const kOptions[] = {
    "Video Codec",   "Video Size",  "Video Bitrate", "Video Framerate", "Audio Codec",
    "Audio Bitrate", "Sample Rate", "Audio Channel", "Disable Audio",   "A/V Sync"};

// The argument after each of `flag`'s places must be one of `allowed`.
std::string After(const std::vector<std::string>& args, const char* flag,
                  const std::vector<std::string>& allowed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != flag) continue;
        if (i + 1 == args.size()) return std::string(flag) + " ends the command";
        if (std::ranges::find(allowed, args[i + 1]) == allowed.end())
            return std::string(flag) + " is followed by " + Show(args[i + 1]);
    }
    return {};
}

std::string FirstWord(const std::string& text) {
    const auto words = SplitCommandLine(text);
    return words.empty() ? std::string() : words.front();
}

// Builds the command of a designed entry, with sound values of its own; where it
// is built, each value stands whole after its option and the paths stay in place.
std::string CheckCommand(int position, ConversionOptions options) {
    const CatalogEntry* entry = ProfileCatalog::At(position);
    if (!entry || IsModernPosition(position)) return {};
    options.AudioBitrate = "128";
    options.AudioChannel = "2";
    options.DisableAudio = "No";
    options.ClipStart = "0:00:00";
    options.ClipEnd = "0:00:10";
    JobRequest request;
    request.position = position;
    request.displayText = entry->text;
    request.options = options;
    request.sourcePath = "/in/clip.flv";
    request.appFolder = "/opt/vx";
    request.outputFolder = "/no such folder/out";
    request.addNew = false;
    const auto job = PrepareConversion(request);
    if (!job.ok()) return {};
    const auto args = SplitCommandLine(job.value->commandLine);
    const std::string shown = " in " + Show(job.value->commandLine);
    if (args.size() < 4 || args[1] != "-i" || args[2] != request.sourcePath ||
        args.back() != job.value->outputPath)
        return "the paths moved" + shown;
    const std::string rate = options.VideoFramerate == "Auto" ? "25" : options.VideoFramerate;
    for (const std::string& broken :
         {After(args, "-b", {options.VideoBitrate + "000"}), After(args, "-s", {options.VideoSize}),
          After(args, "-r", {rate}), After(args, "-ar", {options.SampleRate, "8000"}),
          After(args, "-vcodec", {FirstWord(EncoderVideoCodec(options.VideoCodec))}),
          After(args, "-acodec", {FirstWord(EncoderAudioCodec(options.AudioCodec)), "aac"})})
        if (!broken.empty()) return broken + shown;
    return {};
}

// The bytes as a shared profile file: read back whole; if it is accepted, its
// values are those its entry offers and build a sound command.
std::string CheckProfileFile(std::string_view input) {
    const std::string path = ScratchFolder() + "/shared.vxprofile";
    if (!WriteFileAtomically(path, std::string(input))) return "the scratch file cannot be written";
    std::string why;
    const auto text = ReadRegularFile(path, &why);
    if (!text || *text != input) return "the reader does not give the file back: " + why;
    const auto profile = ReadProfileFile(path, &why);
    if (!profile) return {};
    for (const OptionValue& option : profile->values)
        if (!OffersValue(profile->base, option.caption, option.value))
            return "an accepted profile holds " + Show(option.value);
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    if (!ApplyUserProfile(sheet, *profile)) return "an accepted profile does not apply";
    return CheckCommand(profile->base, *ReadConversionOptions(sheet));
}

// One option set to any text, as --set does: what the check accepts builds.
std::string CheckSetOption(InputReader& in) {
    const int base = in.Byte() % (ProfileCatalog::kEntryCount + 1);
    const OptionValue option{kOptions[in.Byte() % std::size(kOptions)], in.Text()};
    if (OptionsProblem(base, {option}) || IsModernPosition(base)) return {};
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    if (!ApplyOptions(sheet, base, {option})) return "an accepted value does not apply";
    const ConversionOptions options = *ReadConversionOptions(sheet);
    if (CheckValueKinds(options) != CommandError::None)
        return "the check accepts " + Show(option.value) + " for " + option.caption +
               " but the command refuses it";
    return CheckCommand(base, options);
}

// Any texts straight into the command: whatever builds holds each value whole.
std::string CheckAnyValues(InputReader& in) {
    const int position = 1 + in.Byte() % ProfileCatalog::kCount;
    ConversionOptions options;
    for (std::string* field : {&options.VideoCodec, &options.VideoSize, &options.VideoBitrate,
                               &options.VideoFramerate, &options.AudioCodec, &options.SampleRate})
        *field = in.Text();
    return CheckCommand(position, options);
}

} // namespace

std::string CheckProfile(std::string_view input) {
    if (auto broken = CheckProfileFile(input); !broken.empty()) return broken;
    InputReader in(input);
    if (auto broken = CheckSetOption(in); !broken.empty()) return broken;
    return CheckAnyValues(in);
}

} // namespace vx::fuzz
