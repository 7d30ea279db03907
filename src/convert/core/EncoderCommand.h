#pragma once
// The output path and the encoder command line of one conversion.

#include "FrameFit.h"
#include "SheetLayout.h"
#include "StreamFormats.h"

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vx {

enum class CommandError {
    None,
    NoExtension,   // the display text holds no "." (a heading, or nothing selected)
    AudioBitrate,  // not a number, or outside the 16-bit range
    AudioChannel,  // the same for the channel count
    ClipStart,     // not a time
    ClipEnd,       // not a time
    Position,      // outside 1 to 92
    NoPicture,     // a video entry for a file that holds only sound
    NoSoundToCopy, // "Sound only" of a file without sound
    ModernOption,  // a quality or size that a later entry cannot use
    StartPastEnd,  // the clip starts after the file's end: nothing would be converted
    EmptyClip,     // the clip does not end after its start: nothing would be converted
    // A value of the wrong kind for its place in the command line: it would not
    // be one argument of the encoder, or not the one meant.
    VideoCodec,   // neither a name of the codec map nor one plain codec name
    AudioCodec,   // the same for the audio codec
    VideoBitrate, // not a whole number
    FrameRate,    // neither "Auto" nor a number
    VideoSize,    // not WIDTHxHEIGHT
    SampleRate,   // not a whole number
};

// What went wrong, as a sentence for the user.
const char* Describe(CommandError error);

template <typename T> struct Result {
    std::optional<T> value;
    CommandError error = CommandError::None;
    bool ok() const { return value.has_value(); }
    static Result Fail(CommandError e) { return {std::nullopt, e}; }
};

// Everything derived from the options and the row before the command is built.
struct DerivedValues {
    std::string encoderVideoCodec;
    std::string encoderAudioCodec;
    std::string frameRate;
    std::string audioBitrateText;
    std::string audioChannelText;
    std::string audioSwitch;
    int startSeconds = 0;
    int durationSeconds = 0;
    std::string frameFit;   // follows the frame size: the picture fitted in with its proportions
    bool audioClip = false; // the audio shapes convert only the clip, not the whole file
};

// The output path: output folder, "/", the source name without its last
// extension, the output extension. With addNew (and always when the path would
// be the source itself) "_New" is added until no file of that name exists.
// Outputs in `claimed` (those of rows converting side by side) count as taken
// too, whatever the rule, so that two encoders never write one file.
std::string BuildOutputPath(const std::string& outputFolder, bool addNew,
                            const std::string& sourcePath, const std::string& outputExtension,
                            const std::set<std::string>* claimed = nullptr);

struct CommandInput {
    int position = 0;
    DerivedValues derived;
    ConversionOptions options;
    std::string sourcePath;
    std::string outputPath;
    std::string appFolder; // as the system reports it, no trailing "/" except at the root
    double threads = 0;
};

// Checks that every option value the command line holds as text is of its kind:
// bit rates and the sample rate whole numbers, the frame rate "Auto" or a
// number, the size WIDTHxHEIGHT, each codec a name of its map or one plain
// codec name. The first wrong one, or None.
CommandError CheckValueKinds(const ConversionOptions& options);

// Fails, before anything is built, for a value CheckValueKinds refuses.
Result<std::string> BuildEncoderCommand(const CommandInput& input);

// One conversion ready to start.
struct EncoderJob {
    std::string outputPath;
    std::string commandLine;
    int durationSeconds = 0;    // of the clip, for pacing the progress bar
    double expectedSeconds = 0; // what the encoder will write: the clip, or the whole file
    bool light = false;         // streams copied: hardly any work for the processor
    std::string note = {};      // what the row's tooltip says of it while and after it runs
    double startSeconds = 0;    // where in the file the encoder's time 0 lies
    // A join: the folder of our own the encoder reads its list from, the files to
    // put there first (name, text), and links to make there (name, target).
    std::string workFolder = {};
    std::vector<std::pair<std::string, std::string>> workFiles = {}, workLinks = {};
};

struct JobRequest {
    int position = 0;
    std::string displayText;
    ConversionOptions options; // ClipStart and ClipEnd from the row
    std::string sourcePath;
    std::string appFolder;
    std::string outputFolder;
    bool addNew = true;
    double threads = 0;
    double fileSeconds = -1;   // the whole file's length ("Video Time"), -1 when unknown
    FrameSize sourceSize = {}; // the source's picture ("Size"); 0x0 when unknown
    bool soundOnly = false;    // the source holds sound and no picture
    const std::set<std::string>* claimed = nullptr; // outputs of rows converting side by side
    StreamFormats streams; // as the probe found them (the later entries choose by them)
};

// The job's command line with the encoder writing to `path` instead of the job's
// output path (the last argument that names it); none when no argument names it.
std::optional<std::string> CommandWritingTo(const EncoderJob& job, const std::string& path);

// Takes the steps in their order: extension, option values, output path, clip
// times, command line. The first failure is the one reported.
Result<EncoderJob> PrepareConversion(const JobRequest& request);

} // namespace vx
