#pragma once
// CollectSources on a thread of its own, so that a large folder never keeps the
// window waiting.

#include "FolderScan.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace vx {

class BackgroundScan {
  public:
    // Both are called on the scan's thread, never once destruction has returned.
    using Progress = std::function<void(int found)>;
    using Done = std::function<void(ScanResult result)>;

    // Starts at once.
    BackgroundScan(std::vector<std::string> paths, Progress progress, Done done);
    ~BackgroundScan(); // stops the scan and waits for its thread
    BackgroundScan(const BackgroundScan&) = delete;
    BackgroundScan& operator=(const BackgroundScan&) = delete;

  private:
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};

} // namespace vx
