#pragma once
// The log of the last batch, for finding out why a row failed: each row's
// command line and what its encoder said last, with times. It is kept in
// $XDG_STATE_HOME/vantorix/last-batch.log (by default ~/.local/state/vantorix/).

#include <fstream>
#include <string>
#include <vector>

namespace vx {

std::string BatchLogPath();

class BatchLog {
  public:
    void Open(); // starts the file anew; a log that cannot be written is skipped
    void Started(int row, const std::string& source, const std::string& commandLine);
    void Ended(int row, const std::string& result, const std::string& note,
               const std::vector<std::string>& lastLines);
    void Line(const std::string& text);

  private:
    std::ofstream out_;
};

} // namespace vx
