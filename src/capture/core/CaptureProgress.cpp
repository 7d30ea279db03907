#include "CaptureProgress.h"

#include <charconv>
#include <optional>

namespace vx {

namespace {

// A whole number, or nothing for "N/A" and other text.
std::optional<std::int64_t> WholeNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::int64_t NotNegative(std::int64_t value) {
    return value < 0 ? 0 : value;
}

} // namespace

bool ProgressReader::Feed(std::string_view bytes) {
    completed_ = false;
    partial_.append(bytes);
    std::size_t start = 0;
    for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::string_view line(partial_.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        TakeLine(line);
    }
    partial_.erase(0, start);
    // A report that never ends its lines must not grow without bound.
    if (partial_.size() > 4096) partial_.clear();
    return completed_;
}

void ProgressReader::TakeLine(std::string_view line) {
    const auto equals = line.find('=');
    // Report lines are "key=value" with a plain key; anything else is the encoder's own.
    if (equals == std::string_view::npos ||
        line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != equals) {
        if (line.find(": ") != std::string_view::npos) message_ = line;
        return;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (key == "progress") {
        block_.final = value == "end";
        done_ = block_;
        haveMicroseconds_ = false;
        completed_ = true;
        return;
    }
    const auto number = WholeNumber(value);
    if (!number) return;
    if (key == "frame") {
        block_.frames = NotNegative(*number);
    } else if (key == "drop_frames") {
        block_.dropped = NotNegative(*number);
    } else if (key == "out_time_us") {
        block_.milliseconds = NotNegative(*number) / 1000;
        haveMicroseconds_ = true;
    } else if (key == "out_time_ms" && !haveMicroseconds_) {
        block_.milliseconds = NotNegative(*number) / 1000;
    }
}

std::string FailureReason(const std::string& lastMessage, int exitCode) {
    const auto colon = lastMessage.rfind(": ");
    if (colon != std::string::npos && colon + 2 < lastMessage.size())
        return lastMessage.substr(colon + 2);
    return "the encoder ended by itself (exit code " + std::to_string(exitCode) + ")";
}

std::string StatusLine(const CaptureStatistics& statistics) {
    // Whole hundredths, rounded half up, so that no binary fraction shows.
    const std::int64_t hundredths = (statistics.milliseconds + 5) / 10;
    const std::int64_t cents = hundredths % 100;
    return std::to_string(statistics.frames) + " frames (" + std::to_string(statistics.dropped) +
           " dropped) - " + std::to_string(hundredths / 100) + "." + (cents < 10 ? "0" : "") +
           std::to_string(cents) + " sec.";
}

} // namespace vx
