#include "ToolOutput.h"

namespace vx {

namespace {

// Removes terminal control sequences ("ESC [ J", "ESC [ K", ...).
std::string WithoutControlCodes(const std::string& line) {
    std::string clean;
    clean.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\x1b') {
            clean += line[i];
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == '[') {
            i += 2;
            while (i < line.size() && !(line[i] >= '@' && line[i] <= '~'))
                ++i;
        }
    }
    return clean;
}

} // namespace

void ToolOutput::PushTail(std::string line) {
    tail_.push_back(std::move(line));
    while (tail_.size() > kTailLines)
        tail_.pop_front();
}

void ToolOutput::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == '\r') {
            returned_ = WithoutControlCodes(partial_);
            partial_.clear();
            if (!returned_.empty()) status_ = returned_;
            afterReturn_ = true;
            continue;
        }
        if (c == '\n') {
            // A line ended by a return and a line feed is a plain line after all.
            PushTail(afterReturn_ && partial_.empty() ? returned_ : WithoutControlCodes(partial_));
            partial_.clear();
        } else if (partial_.size() < kLongestLine) {
            partial_ += c;
        }
        afterReturn_ = false;
    }
}

} // namespace vx
