#pragma once
// Several source files (parts of one recording) converted into one output. With
// an entry that copies the streams and parts whose streams match, the parts are
// joined without decoding by the encoder's concat reader, from a list file we
// write; otherwise they are decoded, brought to the first part's picture and
// sound, joined by the concat filter and encoded as the entry encodes one file.

#include "EncoderCommand.h"

#include <optional>
#include <string>
#include <vector>

namespace vx {

struct JoinPart {
    std::string path;
    std::string clipStart, clipEnd; // the part's own clip, as its row has it
    double fileSeconds = -1;        // its whole length, -1 when unknown
    FrameSize size = {};
    bool soundOnly = false;
    StreamFormats streams;
    std::optional<int> soundRate; // samples a second, when known
};

// The source name the output is named after: the first part's, or, when the
// parts' names differ only by their number, that name without it
// ("concert_part1.flv" ... "concert_part4.flv" give "concert.flv").
std::string JoinedSourceName(const std::vector<std::string>& paths);

// The encoder's concat list for the parts: each path quoted as the list wants
// it, each clip as in and out points.
struct ConcatEntry {
    std::string path;
    int inSeconds = 0;
    std::optional<int> outSeconds;
};
std::string ConcatListText(const std::vector<ConcatEntry>& entries);

// `request` gives the entry, options, folders and settings (its source and clip
// are not read); `workFolder` is a folder of our own for the list file and
// links, made by whoever starts the job.
Result<EncoderJob> PrepareJoin(const JobRequest& request, const std::vector<JoinPart>& parts,
                               const std::string& workFolder);

// The sound's sample rate that a Flash Video file's first sound packet gives;
// nothing when the file is no FLV or holds no sound.
std::optional<int> FlvSoundRate(const std::string& path);

} // namespace vx
