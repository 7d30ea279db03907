#pragma once
// Probes files in the background: each worker thread runs the player over a
// group of queued files at a time; the window is never kept waiting for a
// player tool.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vx {

class ProbePool {
  public:
    // Called on a worker thread with the report of each finished probe, in no
    // particular order; never after CancelAll or destruction has returned.
    using Done = std::function<void(std::uint64_t id, std::string output)>;

    ProbePool(std::string appFolder, int workers, Done done);
    ~ProbePool(); // gives up every probe and waits for the workers (well under a second)
    ProbePool(const ProbePool&) = delete;
    ProbePool& operator=(const ProbePool&) = delete;

    // Queues a probe of the file for the row with that id; probes start in the
    // order they were queued.
    void Submit(std::uint64_t id, std::string path);
    // Drops the queued probes and gives up the running ones (their players are
    // killed); none of them reports.
    void CancelAll();

    // As many player runs at once as the machine has cores, at most 8.
    static int DefaultWorkers();

  private:
    struct Job {
        std::uint64_t id;
        std::string path;
    };
    void Work();
    std::size_t GroupSize() const; // under the lock

    const std::string appFolder_;
    const int workers_;
    const Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    std::set<std::atomic<bool>*> running_; // the give-up flags of the probes under way
    std::vector<std::thread> threads_;
    int idle_ = 0;
    bool stopping_ = false;
};

} // namespace vx
