#pragma once
// How busy the machine is, for the automatic number of files converted at once:
// as many encoding rows as cores start at once; one more while at least a quarter
// of a core has stayed idle over the last second; never more encoding rows than
// cores plus one, and none beside others while memory is short. Rows that only
// copy streams are counted on their own.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct CpuTimes {
    std::uint64_t idle = 0;  // idle and waiting for the disk
    std::uint64_t total = 0; // all of it
};

// The first line ("cpu ...") of /proc/stat; nothing when it cannot be read.
std::optional<CpuTimes> ParseCpuTimes(std::string_view procStat);
// "MemAvailable:" of /proc/meminfo in kilobytes; nothing when it is missing.
std::optional<std::uint64_t> ParseMemAvailableKb(std::string_view meminfo);

class MachineLoad {
  public:
    using Clock = std::chrono::steady_clock;
    // One x264 encode of a 640x480 file leaves 0.44 of two cores idle, and a
    // second beside it still ends the pair 1.26 times sooner.
    static constexpr double kIdleCoresToStart = 0.25;
    static constexpr std::chrono::milliseconds kWindow{1000};
    // An encoder needs a moment to get going; the time after a start is not measured.
    static constexpr std::chrono::milliseconds kSettle{500};
    static constexpr std::uint64_t kShortMemoryKb = 512 * 1024;

    // procFolder: where stat and meminfo are read; cores 0: those of this machine.
    explicit MachineLoad(std::string procFolder = "/proc", int cores = 0);

    void Reset();                                      // a new batch
    void Sample(Clock::time_point now = Clock::now()); // reads the processor times
    void RowStarted(Clock::time_point now = Clock::now());

    int Cores() const { return cores_; }
    // Idle cores over the last second measured since the last start; none until
    // such a second has passed.
    std::optional<double> IdleCores() const;
    bool MemoryShort() const;
    // May a row start beside those running? The first row always may.
    bool MayStart(bool light, int encodingRows, int copyingRows) const;

  private:
    struct Sampled {
        Clock::time_point at;
        CpuTimes times;
    };
    std::string procFolder_;
    int cores_;
    std::vector<Sampled> samples_;
    std::optional<Clock::time_point> lastStart_;
};

} // namespace vx
