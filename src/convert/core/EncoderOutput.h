#pragma once
// What the encoder tells while it works: its statistics line ("frame= ...
// time=00:00:05.12 ... speed=2.4x") gives how much of the clip is encoded and
// how fast, and its last lines say why it failed. The output is read all the
// time on a thread of its own, so the encoder never stalls on a full pipe.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vx {

// One statistics line: the encoded time in seconds and the speed (times real
// time), each when the line carries a value for it.
struct EncoderStats {
    std::optional<double> encodedSeconds;
    std::optional<double> speed;
};
std::optional<EncoderStats> ParseStatsLine(std::string_view line);

// What went wrong, as a sentence for the user, from the encoder's last lines
// (statistics and closing lines aside); empty when the encoder complained of
// nothing. The encoder's own words are for the batch log.
std::string FailureReason(const std::vector<std::string>& lastLines);

class EncoderOutput {
  public:
    struct Snapshot {
        bool reported = false;     // a statistics line with a time has come
        double encodedSeconds = 0; // the latest such time
        double speed = 0;          // the latest speed, 0 while none is known
    };

    // Creates a pipe for the encoder's output; WriteEnd() goes to the tool.
    EncoderOutput();
    ~EncoderOutput(); // the reader goes on by itself until the encoder's output ends
    EncoderOutput(const EncoderOutput&) = delete;
    EncoderOutput& operator=(const EncoderOutput&) = delete;

    bool Ok() const;
    int WriteEnd() const;
    // Starts reading; closes our copy of the write end (the tool has its own).
    // Given the encoder's process id, the reader takes its last lines at once
    // when the encoder ends.
    void StartReading(pid_t encoder = 0);

    Snapshot Latest() const;
    std::vector<std::string> LastLines() const; // the last 40 lines, oldest first
    // Waits (briefly: the tool has ended) until everything it wrote has been read.
    void WaitForEnd(int milliseconds) const;

    struct State;

  private:
    std::shared_ptr<State> state_;
    int writeFd_ = -1;
    bool started_ = false;
};

} // namespace vx
