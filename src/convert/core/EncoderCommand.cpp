#include "EncoderCommand.h"

#include "Catalog.h"
#include "CodecMaps.h"
#include "CommandLine.h"
#include "CommandShapes.h"
#include "ModernCommand.h"
#include "Numbers.h"
#include "TimeText.h"

#include <filesystem>

namespace vx {

namespace fs = std::filesystem;

const char* Describe(CommandError error) {
    switch (error) {
    case CommandError::None:
        return "no error";
    case CommandError::NoExtension:
        return "no output profile is selected";
    case CommandError::AudioBitrate:
        return "the audio bit rate is not a 16-bit number";
    case CommandError::AudioChannel:
        return "the audio channel count is not a 16-bit number";
    case CommandError::ClipStart:
        return "the clip start is not a time";
    case CommandError::ClipEnd:
        return "the clip end is not a time";
    case CommandError::Position:
        return "no catalog entry is selected";
    case CommandError::NoSoundToCopy:
        return "the file has no sound to copy";
    case CommandError::ModernOption:
        return "the quality or the video size is not one the profile offers";
    }
    return "unknown error";
}

namespace {

// The file name without its last extension; a name without "." is kept whole.
std::string BaseName(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0) ? name : name.substr(0, dot);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

std::string AudioPart(const CommandInput& in) {
    return "  -ab " + in.derived.audioBitrateText + "000  -ac " + in.derived.audioChannelText +
           " -ar " + in.options.SampleRate;
}

std::string VideoPart(const CommandInput& in) {
    return " -b " + in.options.VideoBitrate + "000 -r " + in.derived.frameRate + " -ss " +
           std::to_string(in.derived.startSeconds) + " -t " +
           std::to_string(in.derived.durationSeconds) + " -s " + in.options.VideoSize;
}

// `output` is the quoted output path.
std::string ProfilePart(const ShapeRow& row, const CommandInput& in, const std::string& output) {
    const DerivedValues& d = in.derived;
    const std::string acodec = " -acodec " + d.encoderAudioCodec;
    switch (row.shape) {
    case Shape::A:
        return row.piece + d.encoderVideoCodec + AudioPart(in) + VideoPart(in) + acodec +
               d.audioSwitch + " " + output;
    case Shape::B:
        return "  -vcodec " + d.encoderVideoCodec + VideoPart(in) + acodec + " " + d.audioSwitch +
               output;
    case Shape::C:
        return row.piece + d.encoderVideoCodec + row.fixedAudio + VideoPart(in) + acodec +
               d.audioSwitch + " " + output;
    case Shape::D:
        return AudioPart(in) + VideoPart(in) + acodec + d.audioSwitch + " " + output;
    case Shape::E:
        return row.piece + VideoPart(in) + d.audioSwitch + " " + output;
    case Shape::F:
        return AudioPart(in) + row.piece + output;
    case Shape::G:
        return acodec + " -vn " + output;
    }
    return {};
}

Result<DerivedValues> DeriveOptionValues(const ConversionOptions& options) {
    DerivedValues d;
    d.encoderVideoCodec = EncoderVideoCodec(options.VideoCodec);
    d.encoderAudioCodec = EncoderAudioCodec(options.AudioCodec);
    d.frameRate = options.VideoFramerate == "Auto" ? "25" : options.VideoFramerate;
    const auto bitrate = ToInt16(options.AudioBitrate);
    if (!bitrate) return Result<DerivedValues>::Fail(CommandError::AudioBitrate);
    const auto channels = ToInt16(options.AudioChannel);
    if (!channels) return Result<DerivedValues>::Fail(CommandError::AudioChannel);
    d.audioBitrateText = std::to_string(*bitrate);
    d.audioChannelText = std::to_string(*channels);
    d.audioSwitch = options.DisableAudio == "No" ? "" : " -an ";
    return {d};
}

} // namespace

std::string BuildOutputPath(const std::string& outputFolder, bool addNew,
                            const std::string& sourcePath, const std::string& outputExtension,
                            const std::set<std::string>* claimed) {
    std::string base = BaseName(sourcePath);
    std::string candidate = outputFolder + "/" + base + outputExtension;
    const auto taken = [&](const std::string& path) {
        std::error_code error;
        return (claimed && claimed->count(path) > 0) || SameFile(path, sourcePath) ||
               (addNew && fs::exists(path, error));
    };
    // A conversion never writes over its own input, whatever the existing-file rule says.
    while (taken(candidate)) {
        base += "_New";
        candidate = outputFolder + "/" + base + outputExtension;
    }
    return candidate;
}

Result<std::string> BuildEncoderCommand(const CommandInput& input) {
    const ShapeRow* row = ShapeFor(input.position);
    if (!row) return Result<std::string>::Fail(CommandError::Position);
    std::string command = Quoted(input.appFolder + "/fp.dll") + " -i " + Quoted(input.sourcePath) +
                          ProfilePart(*row, input, Quoted(input.outputPath));
    if (input.threads != 0) command += " -threads " + SignedNumberText(input.threads);
    return {command};
}

Result<EncoderJob> PrepareConversion(const JobRequest& request) {
    using R = Result<EncoderJob>;
    if (IsModernPosition(request.position)) return PrepareModernConversion(request);
    const auto extension = OutputExtension(request.displayText);
    if (!extension) return R::Fail(CommandError::NoExtension);
    auto derived = DeriveOptionValues(request.options);
    if (!derived.ok()) return R::Fail(derived.error);
    const std::string outputPath = BuildOutputPath(request.outputFolder, request.addNew,
                                                   request.sourcePath, *extension, request.claimed);
    const auto start = ReadTimeOfDay(request.options.ClipStart);
    if (!start) return R::Fail(CommandError::ClipStart);
    const auto end = ReadTimeOfDay(request.options.ClipEnd);
    if (!end) return R::Fail(CommandError::ClipEnd);
    derived.value->startSeconds = *start;
    derived.value->durationSeconds = *end - *start;
    const int duration = derived.value->durationSeconds;
    CommandInput input{request.position, *derived.value,    request.options, request.sourcePath,
                       outputPath,       request.appFolder, request.threads};
    auto command = BuildEncoderCommand(input);
    if (!command.ok()) return R::Fail(command.error);
    const ShapeRow* row = ShapeFor(request.position);
    const bool clipped = row->shape != Shape::F && row->shape != Shape::G;
    const bool usesCodec =
        row->shape == Shape::A || row->shape == Shape::B || row->shape == Shape::C;
    EncoderJob job{outputPath, *command.value, duration};
    job.expectedSeconds = clipped || request.fileSeconds < 0 ? duration : request.fileSeconds;
    job.spreadsOverCores = usesCodec && derived.value->encoderVideoCodec.starts_with("libx264");
    return {job};
}

} // namespace vx
