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
        return "No error.";
    case CommandError::NoExtension:
    case CommandError::Position:
        return "No output profile is selected: choose a format (not a heading) in the Profile "
               "list.";
    case CommandError::AudioBitrate:
        return "The audio bit rate in the option sheet is not a number the converter can use: "
               "enter one such as 128.";
    case CommandError::AudioChannel:
        return "The audio channel count in the option sheet is not a number the converter can "
               "use: enter 1 or 2.";
    case CommandError::ClipStart:
        return "The clip of this file has no valid start time: set it again in the Video Clip "
               "window.";
    case CommandError::ClipEnd:
        return "The clip of this file has no valid end time (its length may be unknown): set it "
               "again in the Video Clip window.";
    case CommandError::NoPicture:
        return "This file has no picture: choose an audio profile.";
    case CommandError::NoSoundToCopy:
        return "This file has no sound to copy: choose a profile that keeps the picture.";
    case CommandError::StartPastEnd:
        return "The clip starts after the end of this file, so nothing would be converted: set "
               "a start within the file.";
    case CommandError::EmptyClip:
        return "The clip of this file does not end after its start (the file may be shorter "
               "than the start), so nothing would be converted: set its start and end again.";
    case CommandError::VideoCodec:
        return "The video codec in the option sheet is not one the converter knows: pick one from "
               "its list.";
    case CommandError::AudioCodec:
        return "The audio codec in the option sheet is not one the converter knows: pick one from "
               "its list.";
    case CommandError::VideoBitrate:
        return "The video bit rate in the option sheet is not a whole number: pick one from its "
               "list.";
    case CommandError::FrameRate:
        return "The video frame rate in the option sheet is not a number: pick one from its list.";
    case CommandError::VideoSize:
        return "The video size in the option sheet is not a width and a height such as 640x480: "
               "pick one from its list.";
    case CommandError::SampleRate:
        return "The sample rate in the option sheet is not a whole number: pick one from its "
               "list.";
    case CommandError::ModernOption:
        return "The quality or the video size in the option sheet is not one this profile "
               "offers: pick one from its list.";
    }
    return "The conversion could not be prepared.";
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

std::string ClipPart(const CommandInput& in) {
    return " -ss " + std::to_string(in.derived.startSeconds) + " -t " +
           std::to_string(in.derived.durationSeconds);
}

std::string VideoPart(const CommandInput& in) {
    return " -b " + in.options.VideoBitrate + "000 -r " + in.derived.frameRate + ClipPart(in) +
           " -s " + in.options.VideoSize + in.derived.frameFit;
}

// The audio shapes name the clip only when it is not the whole file; their
// pieces before it end in a blank.
std::string AudioClipPart(const CommandInput& in) {
    return in.derived.audioClip ? ClipPart(in).substr(1) + " " : "";
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
        return AudioPart(in) + row.piece + AudioClipPart(in) + output;
    case Shape::G:
        return acodec + " -vn " + AudioClipPart(in) + output;
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
    if (const CommandError wrong = CheckValueKinds(input.options); wrong != CommandError::None)
        return Result<std::string>::Fail(wrong);
    std::string command = Quoted(input.appFolder + "/fp.dll") + " -i " + Quoted(input.sourcePath) +
                          ProfilePart(*row, input, Quoted(input.outputPath));
    if (input.threads != 0) command += " -threads " + SignedNumberText(input.threads);
    return {command};
}

std::optional<std::string> CommandWritingTo(const EncoderJob& job, const std::string& path) {
    const std::string output = Quoted(job.outputPath);
    const std::size_t at = job.commandLine.rfind(output);
    if (at == std::string::npos) return std::nullopt;
    return job.commandLine.substr(0, at) + Quoted(path) +
           job.commandLine.substr(at + output.size());
}

namespace {

Result<EncoderJob> PrepareDesignedConversion(const JobRequest& request) {
    using R = Result<EncoderJob>;
    const auto extension = OutputExtension(request.displayText);
    if (!extension) return R::Fail(CommandError::NoExtension);
    const ShapeRow* row = ShapeFor(request.position);
    const bool video = row && row->shape != Shape::F && row->shape != Shape::G;
    if (video && request.soundOnly) return R::Fail(CommandError::NoPicture);
    auto derived = DeriveOptionValues(request.options);
    if (!derived.ok()) return R::Fail(derived.error);
    const std::string outputPath = BuildOutputPath(request.outputFolder, request.addNew,
                                                   request.sourcePath, *extension, request.claimed);
    const auto start = ReadTimeOfDay(request.options.ClipStart);
    if (!start) return R::Fail(CommandError::ClipStart);
    const auto end = ReadTimeOfDay(request.options.ClipEnd);
    if (!end) return R::Fail(CommandError::ClipEnd);
    DerivedValues& d = *derived.value;
    d.startSeconds = *start;
    d.durationSeconds = *end - *start;
    // Sound is trimmed as the picture is; the whole file keeps the plain audio
    // command, and so does a file whose length is not known.
    const bool wholeFile = request.fileSeconds < 0 || (*start == 0 && *end >= request.fileSeconds);
    d.audioClip = !video && !wholeFile;
    if (video) {
        FrameFit fit = FitToFrame(request.position, request.options.VideoSize, request.sourceSize,
                                  d.encoderVideoCodec);
        d.encoderVideoCodec = std::move(fit.videoCodec);
        d.frameFit = std::move(fit.options);
    }
    CommandInput input{request.position,   d,          request.options,
                       request.sourcePath, outputPath, request.appFolder,
                       request.threads};
    auto command = BuildEncoderCommand(input);
    if (!command.ok()) return R::Fail(command.error);
    EncoderJob job{outputPath, *command.value, d.durationSeconds};
    const bool clipOnly = video || d.audioClip || request.fileSeconds < 0;
    job.expectedSeconds = clipOnly ? d.durationSeconds : request.fileSeconds;
    job.startSeconds = clipOnly ? d.startSeconds : 0;
    return {job};
}

} // namespace

Result<EncoderJob> PrepareConversion(const JobRequest& request) {
    auto job = IsModernPosition(request.position) ? PrepareModernConversion(request)
                                                  : PrepareDesignedConversion(request);
    // A length known in whole seconds: a start beyond it lies past the file's end.
    const auto start = ReadTimeOfDay(request.options.ClipStart);
    if (job.ok() && start && request.fileSeconds >= 0 && *start > request.fileSeconds)
        return Result<EncoderJob>::Fail(CommandError::StartPastEnd);
    return job;
}

} // namespace vx
