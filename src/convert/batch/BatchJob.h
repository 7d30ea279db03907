#pragma once
// One row of a batch while its encoder works (shared by the batch's files).

#include "BatchRun.h"

namespace vx {

// One encoder at work.
struct BatchRun::Job {
    int row = 0;
    std::uint64_t id = 0;
    pid_t pid = 0;
    EncoderJob encoder;
    bool outputExisted = false;
    WorkingFile working; // what the encoder writes until the row ends OK
    std::chrono::steady_clock::time_point startedAt; // paces the bar until the first report
    EncoderOutput output;
};

} // namespace vx
