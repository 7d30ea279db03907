#include "ProbePool.h"

#include "Probe.h"

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

void ProbePool::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        --idle_;
        if (stopping_) return;
        const Job job = std::move(queue_.front());
        queue_.pop_front();
        std::atomic<bool> cancelled{false};
        running_.insert(&cancelled);
        lock.unlock();

        ProbeControl control;
        control.cancelled = &cancelled;
        std::string output = RunIdentify(appFolder_, job.path, control);

        lock.lock();
        running_.erase(&cancelled);
        if (cancelled.load()) continue;
        // Reported under the lock, so that CancelAll, once returned, is never
        // followed by a report.
        done_(job.id, std::move(output));
    }
}

} // namespace vx
