#include "FolderWatch.h"

#include "FolderScan.h"
#include "WorkingFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_MOVED_TO | IN_MODIFY | IN_CLOSE_WRITE |
                                        IN_ATTRIB | IN_DELETE | IN_MOVED_FROM | IN_ONLYDIR |
                                        IN_DONT_FOLLOW;
constexpr int kDeepest = 64; // folders below the root that are still watched

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

bool WatchedName(const std::string& name) {
    return !name.empty() && name[0] != '.' && HasFlashVideoExtension(name) && !IsWorkingName(name);
}

FolderWatch::FolderWatch(std::string root, std::function<void(const std::string&)> log,
                         std::function<bool(const std::string&)> skip)
    : root_(std::move(root)), log_(std::move(log)), skip_(std::move(skip)) {
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        problem_ = std::string("cannot watch folders: ") + std::strerror(errno);
        return;
    }
    struct stat info {};
    if (stat(root_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        problem_ = root_ + ": not a folder";
        return;
    }
    WatchTree(root_, Clock::now(), 0);
    if (watched_.count(root_) == 0) problem_ = root_ + ": cannot be watched";
}

FolderWatch::~FolderWatch() {
    if (fd_ >= 0) close(fd_);
}

// Watches the folder and every folder below it that is not hidden, and notes the
// files already there. A folder reached twice (a link loop) is watched once.
void FolderWatch::WatchTree(const std::string& folder, Clock::time_point now, int depth) {
    if (depth > kDeepest || watched_.count(folder)) return;
    const int wd = inotify_add_watch(fd_, folder.c_str(), kFolderEvents);
    if (wd < 0) {
        log_(folder + ": not watched: " + std::strerror(errno));
        return;
    }
    if (folders_.count(wd)) return; // the same folder under another name
    folders_[wd] = folder;
    watched_.insert(folder);
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        log_(folder + ": not read: " + std::strerror(errno));
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode))
            WatchTree(path, now, depth + 1);
        else
            Note(path, now, true);
    }
}

// A file that was made or changed: it waits until it has been quiet long enough.
// A file found by a scan counts as quiet since its last change.
void FolderWatch::Note(const std::string& path, Clock::time_point now, bool fromScan) {
    const std::string name = path.substr(path.rfind('/') + 1);
    if (!WatchedName(name) || (skip_ && skip_(path))) return;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        candidates_.erase(path);
        return;
    }
    Candidate& candidate = candidates_[path];
    candidate.size = info.st_size;
    candidate.mtime = Nanoseconds(info.st_mtim);
    candidate.changed = now;
    if (fromScan) {
        timespec wall{};
        clock_gettime(CLOCK_REALTIME, &wall);
        const auto age = std::chrono::nanoseconds(Nanoseconds(wall) - candidate.mtime);
        candidate.changed -= std::clamp<Clock::duration>(
            std::chrono::duration_cast<Clock::duration>(age), Clock::duration::zero(), kQuiet);
    }
}

void FolderWatch::ReadEvents(Clock::time_point now) {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = read(fd_, buffer, sizeof buffer);
        if (length <= 0) return; // EAGAIN: nothing more waits
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) { // events were lost: look at everything again
                const std::set<std::string> folders = watched_;
                watched_.clear();
                for (const std::string& folder : folders)
                    WatchTree(folder, now, 0);
                continue;
            }
            const auto folder = folders_.find(event->wd);
            if (folder == folders_.end()) continue;
            if (event->mask & IN_IGNORED) {
                watched_.erase(folder->second);
                folders_.erase(folder);
                continue;
            }
            if (event->len == 0 || event->name[0] == '.') continue;
            const std::string path = folder->second + "/" + event->name;
            if (event->mask & (IN_DELETE | IN_MOVED_FROM))
                candidates_.erase(path);
            else if (event->mask & IN_ISDIR)
                WatchTree(path, now, 1);
            else
                Note(path, now, false);
        }
    }
}

std::vector<std::string> FolderWatch::Ready(Clock::time_point now) {
    std::vector<std::string> ready;
    for (auto it = candidates_.begin(); it != candidates_.end();) {
        Candidate& candidate = it->second;
        if (now - candidate.changed < kQuiet) {
            ++it;
            continue;
        }
        struct stat info {};
        if (stat(it->first.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            it = candidates_.erase(it);
        } else if (info.st_size != candidate.size || Nanoseconds(info.st_mtim) != candidate.mtime) {
            candidate.size = info.st_size; // still being written: wait again
            candidate.mtime = Nanoseconds(info.st_mtim);
            candidate.changed = now;
            ++it;
        } else {
            ready.push_back(it->first);
            it = candidates_.erase(it);
        }
    }
    return ready;
}

int FolderWatch::MillisecondsToNext(Clock::time_point now) const {
    if (candidates_.empty()) return -1;
    auto next = Clock::time_point::max();
    for (const auto& [path, candidate] : candidates_)
        next = std::min(next, candidate.changed + kQuiet);
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::max<decltype(wait)>(wait, 0));
}

} // namespace vx
