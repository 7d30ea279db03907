#include "PreviewTransport.h"

#include "TimeText.h"

#include <algorithm>
#include <cmath>

namespace vx {

PreviewCounters& SharedPreviewCounters() {
    static PreviewCounters counters;
    return counters;
}

namespace {

// The player reports tenths; the frame on screen lies within half a second of this.
int NearestSecond(double seconds) {
    return static_cast<int>(std::lround(std::min(seconds, 2147483647.0)));
}

} // namespace

PreviewTransport::PreviewTransport(PlayerPort& player, PreviewCounters& counters)
    : player_(player), counters_(counters) {}

void PreviewTransport::Launch(std::optional<int> startSeconds) {
    if (!File.empty() && player_.Launch(File, startSeconds)) ++view_.launches;
}

void PreviewTransport::Restart(std::optional<int> startSeconds) {
    player_.PostKey(kKeyQ);
    Launch(startSeconds);
}

void PreviewTransport::Play(bool listEmpty, const std::optional<PlayItem>& item) {
    if (listEmpty) return;
    if (player_.Started()) player_.PostKey(kKeyQ);
    if (item) File = item->file;
    Launch(std::nullopt);
    if (item) view_.totalLabel = "Total time:" + item->videoTime;
    counters_.PlaybackSeconds = 0;
    if (item) {
        if (const auto total = ReadTimeOfDay(item->videoTime)) counters_.TotalSeconds = *total;
    }
    view_.timerOn = true;
}

void PreviewTransport::Pause() {
    if (!player_.Running()) return; // no clock for a player that is not there
    player_.PostKey(kKeySpace);
    view_.timerOn = !view_.timerOn;
}

void PreviewTransport::Stop() {
    player_.PostKey(kKeyQ);
    counters_.PlaybackSeconds = 0;
    view_.timerOn = false;
    view_.currentTime.clear();
}

void PreviewTransport::Jump(int virtualKey, int seconds) {
    if (!player_.PostKey(virtualKey)) return; // no player: nothing moved
    counters_.PlaybackSeconds =
        std::clamp(counters_.PlaybackSeconds + seconds, 0, std::max(counters_.TotalSeconds, 0));
    ShowPosition();
}

void PreviewTransport::Back() {
    Jump(kKeyLeft, -10);
}

void PreviewTransport::Forward() {
    Jump(kKeyRight, 10);
}

void PreviewTransport::FirstFrame() {
    Restart(std::nullopt);
    counters_.PlaybackSeconds = 0;
    view_.timerOn = true;
}

void PreviewTransport::LastFrames() {
    Restart(counters_.TotalSeconds);
    counters_.PlaybackSeconds = counters_.TotalSeconds;
    view_.timerOn = true;
}

void PreviewTransport::SeekRelease(int sliderValue) {
    const double product = static_cast<double>(sliderValue) * counters_.TotalSeconds;
    const int target = static_cast<int>(std::nearbyint(product / 100)); // halves to even
    counters_.PlaybackSeconds = target;
    view_.slider = std::clamp(sliderValue, 0, 100); // the handle stays where it was let go
    if (const auto text = TimeText16(target)) view_.currentTime = *text;
    if (target < counters_.TotalSeconds)
        Restart(target); // the timer keeps its state
    else
        view_.timerOn = false;
}

void PreviewTransport::Tick() {
    if (const auto reported = player_.ReportedPosition())
        counters_.PlaybackSeconds = NearestSecond(*reported);
    else
        ++counters_.PlaybackSeconds;
    ShowPosition();
    if (counters_.PlaybackSeconds >= counters_.TotalSeconds) view_.timerOn = false;
}

void PreviewTransport::ShowPosition() {
    if (counters_.TotalSeconds != 0) {
        const double percent =
            static_cast<double>(counters_.PlaybackSeconds) / counters_.TotalSeconds * 100;
        const int value = static_cast<int>(std::nearbyint(percent));
        if (value >= 0 && value <= 100) view_.slider = value; // the slider refuses the rest
    }
    if (const auto text = TimeText16(counters_.PlaybackSeconds)) view_.currentTime = *text;
}

void PreviewTransport::Halt() {
    if (player_.Started()) player_.PostKey(kKeyQ);
    view_.timerOn = false;
}

void PreviewTransport::Exit() {
    player_.PostKey(kKeyQ);
    view_.timerOn = false;
}

void PreviewTransport::Refresh() {
    const auto reported = player_.ReportedPosition();
    if (!reported) return;
    counters_.PlaybackSeconds = NearestSecond(*reported);
    ShowPosition();
}

int PreviewTransport::ShownSeconds() const {
    if (const auto reported = player_.ReportedPosition()) return NearestSecond(*reported);
    return counters_.PlaybackSeconds;
}

} // namespace vx
