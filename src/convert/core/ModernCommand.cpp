#include "ModernCommand.h"

#include "Catalog.h"
#include "CommandLine.h"
#include "ModernChoices.h"
#include "Numbers.h"
#include "TimeText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vx {

namespace {

using Arguments = std::vector<std::string>;

struct VideoEncoder {
    ModernKind kind;
    const char* name;                   // the encoder's own name
    std::array<const char*, 3> quality; // constant-quality values for High, Standard, Small
    Arguments arguments;                // the codec and its settings, after "-crf"
    const char* audioCodec;
};

// clang-format off
const VideoEncoder kEncoders[] = {
    {ModernKind::H264, "libx264", {"18", "23", "28"}, {"-preset", "medium", "-profile:v", "high"}, "aac"},
    {ModernKind::H265, "libx265", {"22", "28", "32"}, {"-preset", "medium", "-tag:v", "hvc1", "-x265-params", "log-level=error"}, "aac"},
    {ModernKind::Vp9, "libvpx-vp9", {"24", "33", "40"}, {"-b:v", "0", "-deadline", "good", "-cpu-used", "2", "-row-mt", "1"}, "libopus"},
    {ModernKind::Av1, "libsvtav1", {"25", "35", "45"}, {"-preset", "8"}, "libopus"},
};
// clang-format on

const VideoEncoder* EncoderFor(ModernKind kind) {
    for (const VideoEncoder& encoder : kEncoders)
        if (encoder.kind == kind) return &encoder;
    return nullptr;
}

std::optional<std::string> QualityValue(const VideoEncoder& encoder, const std::string& level) {
    const char* levels[] = {modern::kHigh, modern::kStandard, modern::kSmall};
    for (std::size_t i = 0; i < 3; ++i)
        if (level == levels[i]) return encoder.quality[i];
    return std::nullopt;
}

// Even sides (the encoders want them), at most `lines` high, never enlarged.
std::optional<std::string> ScaleFilter(const std::string& size) {
    if (size == modern::kSameAsSource) return "scale=trunc(iw/2)*2:trunc(ih/2)*2";
    if (size.size() < 2 || size.back() != 'p') return std::nullopt;
    const auto lines = ToInt32(size.substr(0, size.size() - 1));
    if (!lines || *lines < 2) return std::nullopt;
    const std::string n = std::to_string(*lines);
    return "scale=w='trunc(min(iw,iw*" + n + "/ih)/2)*2':h='trunc(min(ih," + n + ")/2)*2'";
}

void AddClip(Arguments& args, const ModernInput& in, bool beforeInput) {
    if (beforeInput && in.startSeconds > 0)
        args.insert(args.end(), {"-ss", std::to_string(in.startSeconds)});
    if (!beforeInput && in.durationSeconds)
        args.insert(args.end(), {"-t", std::to_string(*in.durationSeconds)});
}

void AddTail(Arguments& args, const ModernInput& in, bool mp4) {
    if (mp4) args.insert(args.end(), {"-movflags", "+faststart"});
    if (in.threads != 0) args.insert(args.end(), {"-threads", PlainNumberText(in.threads)});
    args.push_back(in.outputPath);
}

bool IsMp4Name(const std::string& path) {
    return path.ends_with(".mp4") || path.ends_with(".m4a");
}

Result<Arguments> AddSound(Arguments args, const VideoEncoder& encoder,
                           const ConversionOptions& o) {
    if (o.DisableAudio != "No") {
        args.push_back("-an");
        return {args};
    }
    const auto bitrate = ToInt16(o.AudioBitrate);
    if (!bitrate || *bitrate <= 0) return Result<Arguments>::Fail(CommandError::AudioBitrate);
    const auto channels = ToInt16(o.AudioChannel);
    if (!channels || *channels < 1 || *channels > 8)
        return Result<Arguments>::Fail(CommandError::AudioChannel);
    args.insert(args.end(), {"-c:a", encoder.audioCodec, "-b:a", std::to_string(*bitrate) + "k",
                             "-ac", std::to_string(*channels)});
    if (const auto rate = ToInt32(o.SampleRate); rate && *rate > 0)
        args.insert(args.end(), {"-ar", std::to_string(*rate)});
    return {args};
}

} // namespace

std::optional<ModernKind> ModernKindOf(int position) {
    if (!IsModernPosition(position)) return std::nullopt;
    if (ProfileCatalog::IsHeading(position)) ++position;
    switch (position) {
    case 94:
        return ModernKind::SameStreams;
    case 95:
        return ModernKind::SameStreamsMatroska;
    case 96:
        return ModernKind::SoundOnly;
    case 98:
        return ModernKind::H264;
    case 99:
        return ModernKind::H265;
    case 100:
        return ModernKind::Vp9;
    case 101:
        return ModernKind::Av1;
    default:
        return std::nullopt;
    }
}

bool CopiesStreams(ModernKind kind) {
    return kind == ModernKind::SameStreams || kind == ModernKind::SameStreamsMatroska ||
           kind == ModernKind::SoundOnly;
}

std::string ModernExtension(ModernKind kind, const StreamFormats& streams) {
    switch (kind) {
    case ModernKind::SameStreams:
        return FitsMp4(streams) ? ".mp4" : ".mkv";
    case ModernKind::SameStreamsMatroska:
        return ".mkv";
    case ModernKind::SoundOnly:
        switch (ClassifyAudio(streams.audio)) {
        case AudioKind::Aac:
            return ".m4a";
        case AudioKind::Mp3:
            return ".mp3";
        default:
            return ".mka";
        }
    case ModernKind::H264:
    case ModernKind::H265:
        return ".mp4";
    case ModernKind::Vp9:
    case ModernKind::Av1:
        return ".webm";
    }
    return ".mkv";
}

Result<std::vector<std::string>> BuildModernArguments(const ModernInput& in) {
    using R = Result<Arguments>;
    Arguments args{in.encoderPath};
    AddClip(args, in, true); // before the input: a copy starts at the key frame at or before it
    args.insert(args.end(), {"-i", in.sourcePath});
    AddClip(args, in, false);
    const bool mp4 = IsMp4Name(in.outputPath);
    if (CopiesStreams(in.kind)) {
        if (in.kind == ModernKind::SoundOnly)
            args.insert(args.end(), {"-map", "0:a:0", "-vn", "-c:a", "copy"});
        else
            args.insert(args.end(), {"-map", "0:v?", "-map", "0:a?", "-c", "copy"});
        if (in.soundDecoded) args.insert(args.end(), {"-c:a", "pcm_f32le"});
        // No index moved to the front: that would write the whole file twice, and
        // a copy is mostly writing.
        AddTail(args, in, false);
        return {args};
    }
    const VideoEncoder* encoder = EncoderFor(in.kind);
    const auto quality = QualityValue(*encoder, in.options.VideoBitrate);
    const auto scale = ScaleFilter(in.options.VideoSize);
    if (!quality || !scale) return R::Fail(CommandError::ModernOption);
    args.insert(args.end(), {"-map", "0:v:0?", "-map", "0:a:0?", "-vf", *scale, "-pix_fmt",
                             "yuv420p", "-c:v", encoder->name, "-crf", *quality});
    args.insert(args.end(), encoder->arguments.begin(), encoder->arguments.end());
    auto withSound = AddSound(std::move(args), *encoder, in.options);
    if (!withSound.ok()) return withSound;
    AddTail(*withSound.value, in, mp4);
    return withSound;
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty()) text += ' ';
        text += Quoted(argument);
    }
    return text;
}

Result<EncoderJob> PrepareModernConversion(const JobRequest& request) {
    using R = Result<EncoderJob>;
    // A heading names no output format, as with the first 92.
    if (ProfileCatalog::IsHeading(request.position)) return R::Fail(CommandError::NoExtension);
    const auto kind = ModernKindOf(request.position);
    if (!kind) return R::Fail(CommandError::Position);
    if (*kind == ModernKind::SoundOnly && request.streams.audio.empty() &&
        !request.streams.video.empty())
        return R::Fail(CommandError::NoSoundToCopy);
    const auto start = ReadTimeOfDay(request.options.ClipStart);
    if (!start) return R::Fail(CommandError::ClipStart);
    const auto end = ReadTimeOfDay(request.options.ClipEnd);
    if (!end) return R::Fail(CommandError::ClipEnd);
    // The end is taken only when it was moved: the probe's length is whole
    // seconds, and a cut there would lose the file's last fraction of a second.
    const bool cutEnd = request.fileSeconds < 0 || *end != static_cast<int>(request.fileSeconds);
    if (cutEnd && *end <= *start) return R::Fail(CommandError::ClipEnd);
    ModernInput input;
    input.kind = *kind;
    input.options = request.options;
    input.encoderPath = request.appFolder + "/fp.dll";
    input.sourcePath = request.sourcePath;
    input.outputPath = BuildOutputPath(request.outputFolder, request.addNew, request.sourcePath,
                                       ModernExtension(*kind, request.streams), request.claimed);
    input.startSeconds = *start;
    if (cutEnd) input.durationSeconds = *end - *start;
    input.threads = request.threads;
    input.soundDecoded =
        CopiesStreams(*kind) && !MatroskaHoldsSound(ClassifyAudio(request.streams.audio));
    const auto arguments = BuildModernArguments(input);
    if (!arguments.ok()) return R::Fail(arguments.error);
    EncoderJob job;
    job.outputPath = input.outputPath;
    job.commandLine = JoinArguments(*arguments.value);
    const double whole = request.fileSeconds >= 0 ? request.fileSeconds - *start : 0;
    job.expectedSeconds = input.durationSeconds ? *input.durationSeconds : std::max(0.0, whole);
    job.durationSeconds = static_cast<int>(job.expectedSeconds);
    job.startSeconds = *start;
    job.light = CopiesStreams(*kind);
    if (job.light && *start > 0)
        job.note = "Copied from the key frame at or before " + TimeText(*start) +
                   ", so it may begin a little before the chosen start.";
    if (input.soundDecoded)
        job.note += std::string(job.note.empty() ? "" : " ") +
                    "Its sound cannot be kept as it is outside Flash Video; it is stored "
                    "decoded, exactly as it plays.";
    return {job};
}

} // namespace vx
