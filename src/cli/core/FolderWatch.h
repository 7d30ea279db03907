#pragma once
// A folder watched for Flash Video files that arrive below it. The kernel tells
// of every name made, moved in or written (inotify, one watch per folder, new
// folders watched as they appear); a file is ready once its size and time have
// not changed for the quiet time. Nothing is polled: the caller waits on the
// descriptor with the timeout that MillisecondsToNext gives.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vx {

class FolderWatch {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{2000};

    // `log` hears the folders that cannot be watched, one line each. Files for
    // which `skip` says true are never offered (outputs, files already done).
    FolderWatch(std::string root, std::function<void(const std::string&)> log,
                std::function<bool(const std::string&)> skip);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Empty when the root is watched; otherwise why not.
    const std::string& Problem() const { return problem_; }
    int Descriptor() const { return fd_; }

    // Takes the events waiting on the descriptor.
    void ReadEvents(Clock::time_point now);
    // The files that have been quiet long enough, in name order; each is given once
    // (again only when it changes after that).
    std::vector<std::string> Ready(Clock::time_point now);
    // How long until a waiting file may be ready; -1 when none waits.
    int MillisecondsToNext(Clock::time_point now) const;

  private:
    struct Candidate {
        std::int64_t size = -1, mtime = -1;
        Clock::time_point changed;
    };
    void WatchTree(const std::string& folder, Clock::time_point now, int depth);
    void Note(const std::string& path, Clock::time_point now, bool fromScan);

    std::string root_, problem_;
    std::function<void(const std::string&)> log_;
    std::function<bool(const std::string&)> skip_;
    int fd_ = -1;
    std::map<int, std::string> folders_; // watch descriptor -> folder
    std::set<std::string> watched_;
    std::map<std::string, Candidate> candidates_;
};

// Whether a name is one the watch converts: .flv or .f4v in any case, not hidden,
// not one of our working files.
bool WatchedName(const std::string& name);

} // namespace vx
