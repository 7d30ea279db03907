#pragma once
// Helpers of the integration tests: running a program with its output
// captured, generating FLV files with ffmpeg, and probing files with ffprobe.

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace vxtest {

struct RunResult {
    int exitCode = -1;
    std::string output; // standard output and standard error together
};

// Runs a program by argument list, waits for it and returns its output.
RunResult Run(const std::vector<std::string>& arguments, const std::string& workingDirectory = {});
// Waits for a child to end; its exit code, or 128 + the signal that ended it.
int Reap(pid_t pid);
// Looks every `step` until `done` holds or `limit` has passed; whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step = std::chrono::milliseconds(50));

// What a call wrote to the two streams it was handed, and what it returned.
struct Captured {
    int status = -1;
    std::string out, err;
};
Captured Capture(const std::function<int(std::FILE* out, std::FILE* err)>& call);

struct FlvSpec {
    double seconds = 5;
    int width = 320;
    int height = 240;
    int fps = 25;
    bool audio = true;
    bool video = true;
    std::string picture = {};        // a lavfi source of that size and rate; testsrc when empty
    std::string sound = {};          // a lavfi source at 44100 Hz; a 440 Hz tone when empty
    std::string videoCodec = "flv1"; // an ffmpeg encoder: "libx264" for H.264
    std::string audioCodec = "libmp3lame"; // "aac", "nellymoser", ...
    int keyInterval = 0;                   // frames between key frames; 0: the encoder's own
    std::string container = "flv";         // "f4v" for Flash's MP4-based files
};

// Generates an FLV file (by default Sorenson video, MP3 sound) with ffmpeg; true on success.
bool MakeFlv(const std::string& path, const FlvSpec& spec = {});

struct ProbeInfo {
    bool ok = false;
    std::string formatName;
    double duration = 0;
    std::string videoCodec; // empty when there is no video stream
    int width = 0;
    int height = 0;
    double frameRate = 0;
    std::string audioCodec; // empty when there is no audio stream
};

ProbeInfo ProbeFile(const std::string& path);
// The length of a file found by decoding it all (for containers that keep none, or
// keep an estimate).
double DecodedDuration(const std::string& path);

// A fresh folder below the system's temporary folder, removed by the caller.
std::string MakeTempFolder(const std::string& prefix);
// Links the encoder and player tools of the application folder `from` into `folder`,
// so that `folder` serves as an application folder of its own.
void LinkTools(const std::string& folder, const std::string& from);
void RemoveFolder(const std::string& path);
// A fresh temporary folder for as long as the object lives.
struct TempFolder {
    explicit TempFolder(const std::string& prefix) : path(MakeTempFolder(prefix)) {}
    ~TempFolder() { RemoveFolder(path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string path;
};

// Environment variables set (nullopt: unset) for as long as the object lives,
// then as they were.
class ScopedEnvironment {
  public:
    using Values = std::vector<std::pair<std::string, std::optional<std::string>>>;
    explicit ScopedEnvironment(const Values& values);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    Values saved_;
};

// The processes of the machine as /proc/<pid>/stat shows them.
struct ProcessInfo {
    std::string name;
    char state = 0; // 'Z': ended but not reaped
    int parent = 0, session = 0;
};
std::vector<ProcessInfo> Processes();
// Child processes of this process; with zombiesOnly, those that have ended but were not reaped.
int ChildProcesses(bool zombiesOnly = false);

std::string ReadFile(const std::string& path);
std::string Sha256(const std::string& path);

} // namespace vxtest
