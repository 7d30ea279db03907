#include "TestMedia.h"

#include "Spawn.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vxtest {

RunResult Run(const std::vector<std::string>& arguments, const std::string& workingDirectory) {
    RunResult result;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    std::vector<std::string> args = arguments;
    // Let a bare program name be found in PATH.
    if (!args.empty() && args[0].find('/') == std::string::npos) {
        for (const char* dir : {"/usr/bin/", "/bin/", "/usr/local/bin/"})
            if (access((std::string(dir) + args[0]).c_str(), X_OK) == 0) {
                args[0] = dir + args[0];
                break;
            }
    }
    const pid_t pid = vx::Spawn({args, workingDirectory, -1, pipeFds[1]});
    close(pipeFds[1]);
    if (pid <= 0) {
        close(pipeFds[0]);
        return result;
    }
    char buffer[65536];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) result.output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    result.exitCode = Reap(pid);
    return result;
}

int Reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return vx::ExitCodeOf(status);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}

Captured Capture(const std::function<int(std::FILE* out, std::FILE* err)>& call) {
    std::FILE* files[2] = {std::tmpfile(), std::tmpfile()};
    Captured result;
    result.status = call(files[0], files[1]);
    for (int i = 0; i < 2; ++i) {
        std::rewind(files[i]);
        std::string& text = i == 0 ? result.out : result.err;
        for (int c; (c = std::fgetc(files[i])) != EOF;)
            text += static_cast<char>(c);
        std::fclose(files[i]);
    }
    return result;
}

bool MakeFlv(const std::string& path, const FlvSpec& spec) {
    const std::string size = std::to_string(spec.width) + "x" + std::to_string(spec.height);
    const std::string picture = spec.picture.empty()
                                    ? "testsrc=size=" + size + ":rate=" + std::to_string(spec.fps)
                                    : spec.picture;
    const std::string sound =
        spec.sound.empty() ? "sine=frequency=440:sample_rate=44100" : spec.sound;
    std::vector<std::string> args{"ffmpeg", "-v", "error", "-y"};
    if (spec.video) args.insert(args.end(), {"-f", "lavfi", "-i", picture});
    if (spec.audio) args.insert(args.end(), {"-f", "lavfi", "-i", sound});
    args.insert(args.end(), {"-t", std::to_string(spec.seconds)});
    if (spec.video) {
        args.insert(args.end(), {"-c:v", spec.videoCodec});
        if (spec.videoCodec == "flv1") args.insert(args.end(), {"-q:v", "5"});
        if (spec.videoCodec == "libx264") args.insert(args.end(), {"-preset", "ultrafast"});
        if (spec.keyInterval > 0)
            args.insert(args.end(), {"-g", std::to_string(spec.keyInterval), "-keyint_min",
                                     std::to_string(spec.keyInterval), "-sc_threshold", "0"});
    }
    if (spec.audio) {
        const bool nelly = spec.audioCodec == "nellymoser";
        args.insert(args.end(), {"-c:a", spec.audioCodec, "-ar", nelly ? "22050" : "44100"});
        if (!nelly) args.insert(args.end(), {"-b:a", "64k"});
    }
    args.insert(args.end(), {"-f", spec.container, path});
    return Run(args).exitCode == 0;
}

namespace {

double Rate(const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos) return std::atof(text.c_str());
    const double den = std::atof(text.c_str() + slash + 1);
    return den == 0 ? 0 : std::atof(text.substr(0, slash).c_str()) / den;
}

} // namespace

double DecodedDuration(const std::string& path) {
    const RunResult run = Run({"ffmpeg", "-nostdin", "-i", path, "-f", "null", "-"});
    const auto at = run.output.rfind("time=");
    if (at == std::string::npos) return 0;
    int h = 0, m = 0;
    double s = 0;
    if (std::sscanf(run.output.c_str() + at, "time=%d:%d:%lf", &h, &m, &s) != 3) return 0;
    return h * 3600 + m * 60 + s;
}

ProbeInfo ProbeFile(const std::string& path) {
    ProbeInfo info;
    const RunResult run = Run({"ffprobe", "-v", "error", "-show_entries",
                               "format=format_name,duration:stream=codec_type,codec_name,width,"
                               "height,avg_frame_rate,r_frame_rate",
                               "-of", "default=nw=1", path});
    if (run.exitCode != 0) return info;
    info.ok = true;
    std::istringstream lines(run.output);
    std::string line, type, codec, avgRate, rRate;
    auto flush = [&] {
        if (type == "video" && info.videoCodec.empty()) {
            info.videoCodec = codec;
            const double avg = Rate(avgRate);
            info.frameRate = avg > 0 ? avg : Rate(rRate);
        } else if (type == "audio" && info.audioCodec.empty()) {
            info.audioCodec = codec;
        }
        type.clear();
    };
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name") {
            flush();
            codec = value;
        } else if (key == "codec_type")
            type = value;
        else if (key == "width" && info.width == 0 && value != "N/A")
            info.width = std::atoi(value.c_str());
        else if (key == "height" && info.height == 0 && value != "N/A")
            info.height = std::atoi(value.c_str());
        else if (key == "avg_frame_rate")
            avgRate = value;
        else if (key == "r_frame_rate")
            rRate = value;
        else if (key == "format_name") {
            flush();
            info.formatName = value;
        } else if (key == "duration")
            info.duration = std::atof(value.c_str());
    }
    flush();
    if (info.duration <= 0) info.duration = DecodedDuration(path); // containers without a duration
    return info;
}

void LinkTools(const std::string& folder, const std::string& from) {
    for (const char* tool : {"fp.dll", "mp.dll"})
        std::filesystem::create_symlink(from + "/" + tool, folder + "/" + tool);
}

std::string MakeTempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

void RemoveFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

ScopedEnvironment::ScopedEnvironment(const Values& values) {
    for (const auto& [name, value] : values) {
        const char* before = std::getenv(name.c_str());
        saved_.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
        value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
}

ScopedEnvironment::~ScopedEnvironment() {
    for (const auto& [name, value] : saved_)
        value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
}

std::vector<ProcessInfo> Processes() {
    std::vector<ProcessInfo> processes;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        const std::string stat = ReadFile(std::string("/proc/") + entry->d_name + "/stat");
        const auto open = stat.find('('), close = stat.rfind(')');
        if (close == std::string::npos) continue;
        ProcessInfo process{stat.substr(open + 1, close - open - 1)};
        int group = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d %d %d", &process.state, &process.parent,
                        &group, &process.session) == 4)
            processes.push_back(process);
    }
    if (proc) closedir(proc);
    return processes;
}

int ChildProcesses(bool zombiesOnly) {
    const auto processes = Processes();
    return static_cast<int>(std::count_if(processes.begin(), processes.end(), [&](const auto& p) {
        return p.parent == getpid() && (!zombiesOnly || p.state == 'Z');
    }));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Sha256(const std::string& path) {
    const RunResult run = Run({"sha256sum", path});
    return run.output.substr(0, 64);
}

} // namespace vxtest
