#include "ProbePool.h"

#include "ProbeGroup.h"

#include <algorithm>

namespace vx {

ProbePool::ProbePool(std::string appFolder, int workers, Done done)
    : appFolder_(std::move(appFolder)), workers_(std::max(1, workers)), done_(std::move(done)) {}

ProbePool::~ProbePool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    CancelAll();
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

int ProbePool::DefaultWorkers() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

void ProbePool::Submit(std::uint64_t id, std::string path) {
    std::lock_guard lock(mutex_);
    queue_.push_back({id, std::move(path)});
    // Threads are started as the work needs them, up to the limit.
    if (idle_ == 0 && static_cast<int>(threads_.size()) < workers_)
        threads_.emplace_back([this] { Work(); });
    else
        wake_.notify_one();
}

void ProbePool::CancelAll() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    for (std::atomic<bool>* cancelled : running_)
        cancelled->store(true);
}

// A share of the queue for each run, so that a few files still go to both runs.
std::size_t ProbePool::GroupSize() const {
    const std::size_t runs = static_cast<std::size_t>(workers_);
    return std::clamp<std::size_t>((queue_.size() + runs - 1) / runs, 1, kProbeGroupSize);
}

void ProbePool::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        --idle_;
        if (stopping_) return;
        const auto taken = queue_.begin() + static_cast<std::ptrdiff_t>(GroupSize());
        const std::vector<Job> jobs(std::make_move_iterator(queue_.begin()),
                                    std::make_move_iterator(taken));
        queue_.erase(queue_.begin(), taken);
        std::atomic<bool> cancelled{false};
        running_.insert(&cancelled);
        lock.unlock();

        ProbeControl control;
        control.cancelled = &cancelled;
        std::vector<std::string> paths;
        for (const Job& job : jobs)
            paths.push_back(job.path);
        RunIdentifyGroup(appFolder_, paths, control, [&](std::size_t file, std::string output) {
            // Reported under the lock, so that CancelAll, once returned, is never
            // followed by a report.
            std::lock_guard reporting(mutex_);
            if (!cancelled.load()) done_(jobs[file].id, std::move(output));
        });

        lock.lock();
        running_.erase(&cancelled);
    }
}

} // namespace vx
