#pragma once
// When re-encoding to MP4 is chosen for files that could go into MP4 as they
// are, the window says once that they can be rewrapped without loss, and where.
// It never changes the choice.

#include "StreamFormats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

// Every row's streams fit MP4 unchanged (there is at least one row) and the
// entry at `position` re-encodes into MP4.
bool RewrapPays(int position, const std::vector<StreamFormats>& rows);

// What the window says.
const char* RewrapHintText();

// Gives the hint once per state of the list: the same rows (by id) do not get it twice.
class RewrapHint {
  public:
    // True when the hint is to be shown now.
    bool Due(int position, const std::vector<std::uint64_t>& ids,
             const std::vector<StreamFormats>& rows);

  private:
    std::vector<std::uint64_t> givenFor_;
};

} // namespace vx
