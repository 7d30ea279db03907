#include "MachineLoad.h"

#include "IniFile.h"

#include <algorithm>
#include <sstream>
#include <thread>

namespace vx {

std::optional<CpuTimes> ParseCpuTimes(std::string_view procStat) {
    const std::string line(procStat.substr(0, procStat.find('\n')));
    std::istringstream in(line);
    std::string label;
    if (!(in >> label) || label != "cpu") return std::nullopt;
    CpuTimes times;
    std::uint64_t value = 0;
    // user nice system idle iowait irq softirq steal (guest time is inside user)
    for (int field = 0; field < 8 && in >> value; ++field) {
        times.total += value;
        if (field == 3 || field == 4) times.idle += value;
    }
    if (times.total == 0) return std::nullopt;
    return times;
}

std::optional<std::uint64_t> ParseMemAvailableKb(std::string_view meminfo) {
    const std::size_t at = meminfo.find("MemAvailable:");
    if (at == std::string_view::npos) return std::nullopt;
    std::istringstream in(std::string(meminfo.substr(at + 13, 40)));
    std::uint64_t kb = 0;
    if (!(in >> kb)) return std::nullopt;
    return kb;
}

MachineLoad::MachineLoad(std::string procFolder, int cores)
    : procFolder_(std::move(procFolder)),
      cores_(cores > 0 ? cores
                       : std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {}

void MachineLoad::Reset() {
    samples_.clear();
    lastStart_.reset();
}

void MachineLoad::Sample(Clock::time_point now) {
    const auto times = ParseCpuTimes(ReadWholeFile(procFolder_ + "/stat"));
    if (!times) return;
    // Keep what a window may still need: a few seconds.
    std::erase_if(samples_, [&](const Sampled& s) { return now - s.at > 4 * kWindow; });
    samples_.push_back({now, *times});
}

void MachineLoad::RowStarted(Clock::time_point now) {
    lastStart_ = now;
}

std::optional<double> MachineLoad::IdleCores() const {
    if (samples_.empty()) return std::nullopt;
    const Sampled& last = samples_.back();
    // The latest sample that lies a whole window before the last one and after
    // the last start has settled.
    for (auto it = samples_.rbegin(); it != samples_.rend(); ++it) {
        if (lastStart_ && it->at < *lastStart_ + kSettle) break;
        if (last.at - it->at < kWindow) continue;
        const double total = static_cast<double>(last.times.total - it->times.total);
        if (total <= 0) return std::nullopt;
        const double idle = static_cast<double>(last.times.idle - it->times.idle);
        return idle / total * cores_;
    }
    return std::nullopt;
}

bool MachineLoad::MemoryShort() const {
    const auto kb = ParseMemAvailableKb(ReadWholeFile(procFolder_ + "/meminfo"));
    return kb && *kb < kShortMemoryKb;
}

bool MachineLoad::MayStart(bool light, int encodingRows, int copyingRows) const {
    if (encodingRows + copyingRows == 0) return true;
    if ((light ? copyingRows : encodingRows) >= cores_ + 1) return false;
    if (MemoryShort()) return false;
    if (light) return true;
    // As many encoders as cores start at once, short rows included; one more
    // only while the machine leaves room for it.
    if (encodingRows < cores_) return true;
    const auto idle = IdleCores();
    return idle && *idle >= kIdleCoresToStart;
}

} // namespace vx
