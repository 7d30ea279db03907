#include "EncoderOutput.h"

#include "MissingTool.h"
#include "Numbers.h"
#include "Spawn.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::size_t kKeptLines = 40;

// "00:01:05.12" (possibly "-00:00:00.02") as seconds.
std::optional<double> ClockSeconds(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    int hours = 0, minutes = 0;
    double seconds = 0;
    const std::string copy(text.substr(0, 32));
    if (std::sscanf(copy.c_str(), "%d:%d:%lf", &hours, &minutes, &seconds) != 3) return {};
    const double total = hours * 3600.0 + minutes * 60.0 + seconds;
    return negative ? -total : total;
}

// The value after "key=" (blanks after the "=" skipped), up to the next blank.
std::optional<std::string_view> Field(std::string_view line, std::string_view key) {
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view rest = line.substr(at + key.size());
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    return rest.substr(0, rest.find(' '));
}

bool IsClosingLine(std::string_view line) {
    return line.starts_with("Conversion failed!") || line.starts_with("Exiting normally") ||
           line.starts_with("video:") || line.starts_with("[q] command");
}

struct Meaning {
    std::string_view says;     // a piece of the encoder's complaint
    std::string_view sentence; // what it means for the user
};

constexpr std::string_view kRefusedOptions =
    "The encoder refused the chosen options (codec, size, bit rate or sample rate): try other "
    "values in the option sheet.";

// The more telling complaints first: the encoder often closes with a general one.
constexpr Meaning kMeanings[] = {
    {"Invalid frame size", "The video size in the option sheet is not a size the encoder "
                           "accepts: enter one such as 320x240."},
    {"Invalid framerate", "The frame rate in the option sheet is not one the encoder accepts: "
                          "enter one such as 25."},
    {"Invalid data found", "The encoder could not read this file: it may be damaged or "
                           "incomplete."},
    {"does not contain any stream", "This file holds nothing the chosen profile can convert: "
                                    "choose another profile."},
    {"No space left", "The disk is full: make room, or choose another output folder."},
    {"Permission denied", "The output file could not be written: check that the output folder "
                          "may be written to."},
    {"No such file or directory", "A file could not be found: check that the source file and "
                                  "the output folder are still there."},
    {"Unknown encoder", "The encoder does not know the chosen codec: choose another codec in "
                        "the option sheet."},
    {"Error while opening encoder", kRefusedOptions},
    {"Error initializing output stream", kRefusedOptions},
    {"incorrect parameters", kRefusedOptions},
};

constexpr std::string_view kOtherComplaint =
    "The encoder could not convert this file; its own words are in the batch log.";

} // namespace

std::optional<EncoderStats> ParseStatsLine(std::string_view line) {
    const auto time = Field(line, "time=");
    if (!time || line.find("bitrate=") == std::string_view::npos) return {};
    EncoderStats stats;
    // ffmpeg 7 says "time=N/A" where earlier ones said 00:00:00.00: nothing written yet.
    stats.encodedSeconds = *time == "N/A" ? std::optional<double>(0) : ClockSeconds(*time);
    if (const auto speed = Field(line, "speed="); speed && !speed->empty() && *speed != "N/A")
        stats.speed = ReadNumber(*speed);
    return stats;
}

namespace {

bool IsComplaint(std::string_view line) {
    line = Trim(line);
    return !line.empty() && !ParseStatsLine(line) && !IsClosingLine(line);
}

} // namespace

std::string FailureReason(const std::vector<std::string>& lastLines) {
    if (const std::string tool = MissingToolIn(lastLines); !tool.empty())
        return MissingToolSentence(tool);
    for (const Meaning& meaning : kMeanings)
        for (const std::string& line : lastLines)
            if (line.find(meaning.says) != std::string::npos) return std::string(meaning.sentence);
    for (const std::string& line : lastLines)
        if (IsComplaint(line)) return std::string(kOtherComplaint);
    return {};
}

struct EncoderOutput::State {
    static constexpr int kGatherMilliseconds = 20;
    mutable std::mutex mutex;
    mutable std::condition_variable ended;
    int readFd = -1;
    bool done = false;
    Snapshot latest;
    std::deque<std::string> lines;
    std::string partial;

    void Take(std::string line) {
        if (line.empty()) return;
        if (const auto stats = ParseStatsLine(line)) {
            if (stats->encodedSeconds) {
                latest.reported = true;
                latest.encodedSeconds = *stats->encodedSeconds;
            }
            if (stats->speed) latest.speed = *stats->speed;
        }
        lines.push_back(std::move(line));
        if (lines.size() > kKeptLines) lines.pop_front();
    }
    void Feed(const char* data, std::size_t size) {
        std::lock_guard lock(mutex);
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (c == '\r' || c == '\n') {
                Take(std::move(partial));
                partial.clear();
            } else if (partial.size() < 4096) {
                partial.push_back(c);
            }
        }
    }
    // The encoder writes its banner a line at a time and then a status line twice
    // a second; taking what gathered at most every 20 ms wakes this thread a few
    // times for the banner instead of once for each line. The pipe holds far more
    // than the encoder writes in that time.
    void Read(pid_t encoder) {
        const int encoderEnd = encoder > 0 ? OpenPidFd(encoder) : -1;
        char buffer[8192];
        while (true) {
            const ssize_t n = read(readFd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            Feed(buffer, static_cast<std::size_t>(n));
            pollfd end{encoderEnd, POLLIN, 0}; // an encoder that ends cuts the pause short
            poll(&end, encoderEnd >= 0 ? 1 : 0, kGatherMilliseconds);
        }
        if (encoderEnd >= 0) close(encoderEnd);
        close(readFd);
        std::lock_guard lock(mutex);
        Take(std::move(partial));
        done = true;
        ended.notify_all();
    }
};

EncoderOutput::EncoderOutput() : state_(std::make_shared<State>()) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    state_->readFd = fds[0];
    writeFd_ = fds[1];
}

EncoderOutput::~EncoderOutput() {
    if (writeFd_ >= 0) close(writeFd_);
    if (state_->readFd >= 0 && !started_) close(state_->readFd);
}

bool EncoderOutput::Ok() const {
    return writeFd_ >= 0;
}

int EncoderOutput::WriteEnd() const {
    return writeFd_;
}

void EncoderOutput::StartReading(pid_t encoder) {
    if (writeFd_ < 0 || started_) return;
    close(writeFd_);
    writeFd_ = -1;
    started_ = true;
    std::thread([state = state_, encoder] { state->Read(encoder); }).detach();
}

EncoderOutput::Snapshot EncoderOutput::Latest() const {
    std::lock_guard lock(state_->mutex);
    return state_->latest;
}

std::vector<std::string> EncoderOutput::LastLines() const {
    std::lock_guard lock(state_->mutex);
    return {state_->lines.begin(), state_->lines.end()};
}

void EncoderOutput::WaitForEnd(int milliseconds) const {
    std::unique_lock lock(state_->mutex);
    state_->ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [this] { return state_->done; });
}

} // namespace vx
