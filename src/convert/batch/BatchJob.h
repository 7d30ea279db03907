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
    int weight = 1;
    int polls = 0; // polls since the paced bar last stepped
    EncoderOutput output;
};

} // namespace vx
