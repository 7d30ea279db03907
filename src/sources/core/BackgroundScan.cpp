#include "BackgroundScan.h"

namespace vx {

BackgroundScan::BackgroundScan(std::vector<std::string> paths, Progress progress, Done done) {
    thread_ = std::thread(
        [this, paths = std::move(paths), progress = std::move(progress), done = std::move(done)] {
            ScanControl control;
            control.cancelled = &cancelled_;
            control.progress = [this, &progress](int found) {
                if (!cancelled_.load() && progress) progress(found);
            };
            ScanResult result = CollectSources(paths, control);
            if (!cancelled_.load()) done(std::move(result));
        });
}

BackgroundScan::~BackgroundScan() {
    cancelled_.store(true);
    thread_.join();
}

} // namespace vx
