#pragma once
// The encoder's arguments for the entries after the first 92: copying the
// streams into another container, and the formats of today's players. They are
// built as a list of arguments and handed on as a command line text that
// SplitCommandLine gives back argument for argument (JoinArguments).

#include "EncoderCommand.h"
#include "StreamFormats.h"

#include <optional>
#include <string>
#include <vector>

namespace vx {

enum class ModernKind { SameStreams, SameStreamsMatroska, SoundOnly, H264, H265, Vp9, Av1 };

// The kind of a profile after the first 92; a heading takes its first profile's.
std::optional<ModernKind> ModernKindOf(int position);

// Copying entries keep every packet: nothing is decoded.
bool CopiesStreams(ModernKind kind);

// The output extension for a row whose streams the probe found as given:
// "Same streams" is ".mp4" when every stream fits MP4, else ".mkv"; "Sound only"
// is ".m4a" for AAC, ".mp3" for MP3 and ".mka" for anything else.
std::string ModernExtension(ModernKind kind, const StreamFormats& streams);

struct ModernInput {
    ModernKind kind = ModernKind::SameStreams;
    ConversionOptions options; // read only by the re-encoding kinds
    std::string encoderPath;   // the encoder tool
    std::string sourcePath;
    std::string outputPath;
    int startSeconds = 0;               // 0: from the beginning
    std::optional<int> durationSeconds; // none: to the end of the file
    double threads = 0;                 // 0: the encoder decides
    // Copies: the sound has no place in Matroska as it is (Nellymoser, Flash
    // ADPCM) and is stored decoded, sample for sample as it plays.
    bool soundDecoded = false;
};

// The whole argument list, the encoder tool first. Fails for a quality, size,
// audio bit rate or channel count the kind cannot use.
Result<std::vector<std::string>> BuildModernArguments(const ModernInput& input);

// Every argument quoted (Quoted) and joined by one blank.
std::string JoinArguments(const std::vector<std::string>& arguments);

// PrepareConversion for a position after the first 92.
Result<EncoderJob> PrepareModernConversion(const JobRequest& request);

} // namespace vx
