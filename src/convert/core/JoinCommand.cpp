#include "JoinCommand.h"

#include "Catalog.h"
#include "CommandLine.h"
#include "ModernCommand.h"
#include "TimeText.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace vx {

namespace fs = std::filesystem;

namespace {

using Arguments = std::vector<std::string>;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The name's base (without its last extension) and its extension.
std::pair<std::string, std::string> SplitName(const std::string& path) {
    const fs::path name = fs::path(path).filename();
    return {name.stem().string(), name.extension().string()};
}

// A part's clip: whole seconds from its start, and its length unless it runs to
// the file's end.
struct Clip {
    int start = 0;
    std::optional<int> length;
};

std::optional<Clip> ClipOf(const JoinPart& part) {
    const auto start = ReadTimeOfDay(part.clipStart);
    const auto end = ReadTimeOfDay(part.clipEnd);
    if (!start || !end) return std::nullopt;
    Clip clip{*start, std::nullopt};
    // As for one file: the probe's whole seconds are no cut of the last fraction.
    if (part.fileSeconds < 0 || *end != static_cast<int>(part.fileSeconds)) {
        if (*end <= *start) return std::nullopt;
        clip.length = *end - *start;
    }
    return clip;
}

double ClipSeconds(const JoinPart& part, const Clip& clip) {
    if (clip.length) return *clip.length;
    return part.fileSeconds >= 0 ? std::max(0.0, part.fileSeconds - clip.start) : 0;
}

// Parts that the concat reader can put one after the other as they are.
bool StreamsMatch(const std::vector<JoinPart>& parts) {
    const JoinPart& first = parts.front();
    return std::all_of(parts.begin(), parts.end(), [&](const JoinPart& part) {
        return part.streams.video == first.streams.video &&
               part.streams.audio == first.streams.audio && part.size.width == first.size.width &&
               part.size.height == first.size.height && part.soundOnly == first.soundOnly &&
               (part.streams.audio.empty() ||
                (part.soundRate && part.soundRate == first.soundRate));
    });
}

// A name the list may hold; other paths are reached through a link of ours.
bool ListablePath(const std::string& path) {
    return std::none_of(path.begin(), path.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

Result<EncoderJob> LosslessJoin(const JobRequest& request, const std::vector<JoinPart>& parts,
                                const std::vector<Clip>& clips, const std::string& workFolder,
                                const std::string& named) {
    using R = Result<EncoderJob>;
    const ModernKind kind = *ModernKindOf(request.position);
    if (kind == ModernKind::SoundOnly && parts.front().streams.audio.empty())
        return R::Fail(CommandError::NoSoundToCopy);
    EncoderJob job;
    std::vector<ConcatEntry> entries;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string path = parts[i].path;
        if (!ListablePath(path)) {
            const std::string link = "part" + std::to_string(i + 1);
            job.workLinks.emplace_back(link, path);
            path = workFolder + "/" + link;
        }
        entries.push_back(
            {path, clips[i].start,
             clips[i].length ? std::optional(clips[i].start + *clips[i].length) : std::nullopt});
    }
    const std::string list = workFolder + "/parts.ffconcat";
    job.workFolder = workFolder;
    job.workFiles.emplace_back("parts.ffconcat", ConcatListText(entries));
    ModernInput input;
    input.kind = kind;
    input.encoderPath = request.appFolder + "/fp.dll";
    input.sourcePath = list;
    input.outputPath = BuildOutputPath(request.outputFolder, request.addNew, named,
                                       ModernExtension(kind, request.streams), request.claimed);
    input.threads = request.threads;
    input.soundDecoded =
        CopiesStreams(kind) && !MatroskaHoldsSound(ClassifyAudio(request.streams.audio));
    auto arguments = BuildModernArguments(input);
    if (!arguments.ok()) return R::Fail(arguments.error);
    arguments.value->insert(arguments.value->begin() + 1, {"-f", "concat", "-safe", "0"});
    job.outputPath = input.outputPath;
    job.commandLine = JoinArguments(*arguments.value);
    job.light = true;
    return {job};
}

// Each part's picture brought to the first part's frame (fitted, with bars) and
// its sound to one rate and layout, so that the concat filter may join them.
std::string ConcatGraph(const std::vector<JoinPart>& parts, const std::vector<Clip>& clips,
                        bool video, bool sound, const std::string& fit) {
    const FrameSize size = parts.front().size;
    const int w = std::max(2, size.width / 2 * 2), h = std::max(2, size.height / 2 * 2);
    const std::string frame = std::to_string(w) + ":" + std::to_string(h);
    std::string graph, inputs;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string n = std::to_string(i);
        if (video) {
            graph += "[" + n + ":v]scale=" + frame +
                     ":force_original_aspect_ratio=decrease,pad=" + frame +
                     ":(ow-iw)/2:(oh-ih)/2,setsar=1,format=yuv420p[v" + n + "];";
            inputs += "[v" + n + "]";
        }
        if (sound) {
            if (parts[i].streams.audio.empty())
                graph += "anullsrc=r=44100:cl=stereo,atrim=duration=" +
                         std::to_string(ClipSeconds(parts[i], clips[i])) + "[a" + n + "];";
            else
                graph += "[" + n +
                         ":a]aresample=44100,aformat=sample_fmts=fltp:channel_layouts="
                         "stereo[a" +
                         n + "];";
            inputs += "[a" + n + "]";
        }
    }
    graph += inputs + "concat=n=" + std::to_string(parts.size()) + ":v=" + (video ? "1" : "0") +
             ":a=" + (sound ? "1" : "0") + (video ? "[cv]" : "") + (sound ? "[a]" : "");
    if (video) graph += fit.empty() ? ";[cv]null[v]" : ";[cv]" + fit + "[v]";
    return graph;
}

bool Has(const Arguments& args, const char* option) {
    return std::find(args.begin(), args.end(), option) != args.end();
}

// The entry's command for one whole file turned into one for the parts: their
// inputs with their clips, the concat graph in place of the picture filter, the
// graph's outputs in place of the file's streams.
Result<EncoderJob> EncodedJoin(const JobRequest& request, const std::vector<JoinPart>& parts,
                               const std::vector<Clip>& clips, const std::string& named) {
    using R = Result<EncoderJob>;
    JobRequest single = request;
    single.sourcePath = named;
    single.options.ClipStart = TimeText(0);
    single.options.ClipEnd =
        TimeText(static_cast<std::int64_t>(std::max(0.0, parts[0].fileSeconds)));
    single.fileSeconds = parts[0].fileSeconds;
    auto prepared = PrepareConversion(single);
    if (!prepared.ok()) return prepared;
    const Arguments given = SplitCommandLine(prepared.value->commandLine);
    const bool video = !Has(given, "-vn") && !parts[0].soundOnly;
    const bool sound = !Has(given, "-an") &&
                       std::any_of(parts.begin(), parts.end(),
                                   [](const JoinPart& p) { return !p.streams.audio.empty(); });
    if (video &&
        std::any_of(parts.begin(), parts.end(), [](const JoinPart& p) { return p.soundOnly; }))
        return R::Fail(CommandError::NoPicture);
    Arguments args{given.front()};
    EncoderJob job = *prepared.value;
    job.note.clear();
    std::string fit;
    bool afterInput = false;
    for (std::size_t i = 1; i < given.size(); ++i) {
        const std::string& a = given[i];
        const bool hasValue = i + 1 < given.size();
        if (a == "-i" && hasValue && !afterInput) {
            afterInput = true;
            for (std::size_t p = 0; p < parts.size(); ++p) {
                if (clips[p].start > 0)
                    args.insert(args.end(), {"-ss", std::to_string(clips[p].start)});
                if (clips[p].length)
                    args.insert(args.end(), {"-t", std::to_string(*clips[p].length)});
                args.insert(args.end(), {"-i", parts[p].path});
            }
            ++i;
        } else if ((a == "-ss" || a == "-t" || a == "-map") && hasValue) {
            ++i; // each part has its clip; the graph gives the streams
        } else if (a == "-vf" && hasValue) {
            fit = given[++i];
        } else if ((a == "-c" || a == "-c:a") && hasValue && given[i + 1] == "copy") {
            // A copying entry whose parts differ: they are encoded to be joined.
            if (a == "-c")
                args.insert(args.end(), {"-c:v", "libx264", "-crf", "18", "-preset", "medium",
                                         "-pix_fmt", "yuv420p"});
            args.insert(
                args.end(),
                {"-c:a", prepared.value->outputPath.ends_with(".mp3") ? "libmp3lame" : "aac"});
            ++i;
            job.note = "The parts differ (codecs, picture sizes or sound rates), so they were "
                       "encoded again to be joined.";
        } else {
            args.push_back(a);
        }
    }
    const auto output = std::find(args.begin(), args.end(), prepared.value->outputPath);
    Arguments graph{"-filter_complex", ConcatGraph(parts, clips, video, sound, fit)};
    if (video) graph.insert(graph.end(), {"-map", "[v]"});
    if (sound) graph.insert(graph.end(), {"-map", "[a]"});
    args.insert(output, graph.begin(), graph.end());
    job.commandLine = JoinArguments(args);
    job.light = false;
    return {job};
}

} // namespace

std::string JoinedSourceName(const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    const std::string folder = fs::path(paths.front()).parent_path().string();
    const auto [first, extension] = SplitName(paths.front());
    std::vector<std::string> bases;
    for (const std::string& path : paths)
        bases.push_back(SplitName(path).first);
    // The longest beginning and end that every name shares.
    std::size_t head = first.size(), tail = first.size();
    for (const std::string& base : bases) {
        head = std::min(
            head, static_cast<std::size_t>(
                      std::mismatch(first.begin(), first.end(), base.begin(), base.end()).first -
                      first.begin()));
        tail = std::min(
            tail,
            static_cast<std::size_t>(
                std::mismatch(first.rbegin(), first.rend(), base.rbegin(), base.rend()).first -
                first.rbegin()));
    }
    while (head > 0 && IsDigit(first[head - 1])) // a number is taken whole
        --head;
    while (tail > 0 && IsDigit(first[first.size() - tail]))
        --tail;
    bool numbered = bases.size() > 1;
    for (const std::string& base : bases) {
        if (head + tail >= base.size()) {
            numbered = false;
            break;
        }
        const std::string middle = base.substr(head, base.size() - head - tail);
        numbered = numbered && std::all_of(middle.begin(), middle.end(), IsDigit);
    }
    std::string name = first.substr(0, head);
    if (numbered) {
        // "concert_part" + number: the word "part" and the mark before it go too.
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.ends_with("part")) name.resize(name.size() - 4);
        while (!name.empty() && (name.back() == '_' || name.back() == '-' || name.back() == ' ' ||
                                 name.back() == '.'))
            name.pop_back();
        name += first.substr(first.size() - tail);
    }
    if (!numbered || name.empty()) name = first;
    return (folder.empty() ? "" : folder + "/") + name + extension;
}

std::string ConcatListText(const std::vector<ConcatEntry>& entries) {
    std::string text = "ffconcat version 1.0\n";
    for (const ConcatEntry& entry : entries) {
        // Inside quotes everything is itself; a quote closes, is escaped, and opens again.
        std::string quoted = "'";
        for (const char c : entry.path)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        text += "file " + quoted + "'\n";
        if (entry.inSeconds > 0) text += "inpoint " + std::to_string(entry.inSeconds) + "\n";
        if (entry.outSeconds) text += "outpoint " + std::to_string(*entry.outSeconds) + "\n";
    }
    return text;
}

Result<EncoderJob> PrepareJoin(const JobRequest& request, const std::vector<JoinPart>& parts,
                               const std::string& workFolder) {
    using R = Result<EncoderJob>;
    if (parts.empty()) return R::Fail(CommandError::NoExtension);
    std::vector<Clip> clips;
    double seconds = 0;
    for (const JoinPart& part : parts) {
        const auto clip = ClipOf(part);
        if (!clip) return R::Fail(CommandError::ClipEnd);
        clips.push_back(*clip);
        seconds += ClipSeconds(part, *clip);
    }
    std::vector<std::string> paths;
    for (const JoinPart& part : parts)
        paths.push_back(part.path);
    const std::string named = JoinedSourceName(paths);
    JobRequest first = request;
    first.streams = parts.front().streams;
    first.sourceSize = parts.front().size;
    first.soundOnly = parts.front().soundOnly;
    const auto kind = ModernKindOf(request.position);
    auto job = kind && CopiesStreams(*kind) && !ProfileCatalog::IsHeading(request.position) &&
                       StreamsMatch(parts)
                   ? LosslessJoin(first, parts, clips, workFolder, named)
                   : EncodedJoin(first, parts, clips, named);
    if (!job.ok()) return job;
    job.value->expectedSeconds = seconds;
    job.value->durationSeconds = static_cast<int>(seconds);
    job.value->startSeconds = 0;
    return job;
}

std::optional<int> FlvSoundRate(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[9];
    if (!in.read(reinterpret_cast<char*>(header), 9) || header[0] != 'F' || header[1] != 'L' ||
        header[2] != 'V')
        return std::nullopt;
    const auto big = [](const unsigned char* b, int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = v << 8 | b[i];
        return v;
    };
    in.seekg(big(header + 5, 4) + 4);
    static constexpr int kFlagRates[] = {5512, 11025, 22050, 44100};
    static constexpr int kAacRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                        22050, 16000, 12000, 11025, 8000,  7350};
    for (int tag = 0; tag < 200; ++tag) { // the first sound packet comes early
        unsigned char t[11];
        if (!in.read(reinterpret_cast<char*>(t), 11)) return std::nullopt;
        const std::uint32_t size = big(t + 1, 3);
        const std::streamoff data = in.tellg();
        if (t[0] == 8 && size >= 1) {
            unsigned char d[4] = {};
            in.read(reinterpret_cast<char*>(d), std::min<std::uint32_t>(size, 4));
            const int format = d[0] >> 4;
            if (format == 10 && size >= 4 && d[1] == 0) { // AAC: its own configuration
                const int index = ((d[2] & 0x07) << 1) | (d[3] >> 7);
                return index < 13 ? std::optional(kAacRates[index]) : std::nullopt;
            }
            if (format == 5) return 8000; // Nellymoser 8 kHz
            if (format == 4) return 16000;
            if (format != 10) return kFlagRates[(d[0] >> 2) & 3];
        }
        in.clear();
        in.seekg(data + static_cast<std::streamoff>(size) + 4);
    }
    return std::nullopt;
}

} // namespace vx
