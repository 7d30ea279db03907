#pragma once
// What a running tool has said lately: its last lines and its latest status
// line. Tools redraw a status line in place by ending it with a carriage
// return (the player's play position, the encoder's progress); every other
// line ends in a line feed.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class ToolOutput {
  public:
    static constexpr std::size_t kTailLines = 20;
    static constexpr std::size_t kLongestLine = 4096; // a longer line is cut there

    // Takes the next piece of output, split anywhere.
    void Feed(std::string_view bytes);

    // The latest line ended by a carriage return, terminal codes removed.
    const std::string& StatusLine() const { return status_; }
    // The last lines ended by a line feed, oldest first, at most kTailLines.
    std::vector<std::string> Tail() const { return {tail_.begin(), tail_.end()}; }

  private:
    void PushTail(std::string line);

    std::string partial_;
    std::string returned_; // the line the last carriage return ended
    std::string status_;
    std::deque<std::string> tail_;
    bool afterReturn_ = false; // the last byte was a carriage return
};

} // namespace vx
