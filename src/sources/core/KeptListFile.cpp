// The kept list on disk: atomic writes, the writer thread, the lock, the lists
// of programs that ended.
#include "KeptList.h"

#include "IniFile.h"
#include "UserFolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace vx {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kListEnding = ".vxlist";

std::string LockPathOf(const std::string& listPath) {
    return listPath.substr(0, listPath.size() - kListEnding.size()) + ".lock";
}

// An open lock file, locked by this process; -1 when another process holds it.
int TakeLock(const std::string& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool InFolder(const std::string& path, const std::string& folder) {
    return !folder.empty() && fs::path(path).lexically_normal().parent_path() ==
                                  (fs::path(folder) / "").lexically_normal().parent_path();
}

} // namespace

std::string KeptListFolder() {
    return StateHome() + "/vantorix";
}

KeptListFile::KeptListFile(std::string folder) : folder_(std::move(folder)) {
    std::error_code error;
    fs::create_directories(folder_, error);
    path_ = folder_ + "/list-" + std::to_string(::getpid()) + std::string(kListEnding);
    lockPath_ = LockPathOf(path_);
    lockFd_ = TakeLock(lockPath_);
    if (lockFd_ < 0) return; // nothing is kept rather than a list that is another's
    worker_ = std::thread([this] { Work(); });
}

KeptListFile::~KeptListFile() {
    if (worker_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        worker_.join();
    }
    if (lockFd_ >= 0) ::close(lockFd_);
}

void KeptListFile::Save(KeptState state) {
    if (lockFd_ < 0) return;
    std::optional<KeptState> replaced(std::move(state));
    {
        std::lock_guard lock(mutex_);
        pending_.swap(replaced);
    }
    wake_.notify_one(); // a state not yet written is dropped outside the lock
}

void KeptListFile::OnFailure(std::function<void(const std::string&)> failed) {
    std::lock_guard lock(mutex_);
    failed_ = std::move(failed);
}

void KeptListFile::WaitUntilWritten() {
    std::unique_lock lock(mutex_);
    written_.wait(lock, [this] { return !pending_ && !writing_; });
}

void KeptListFile::Discard() {
    if (worker_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            pending_.reset();
            stop_ = true;
        }
        wake_.notify_all();
        worker_.join();
    }
    if (lockFd_ < 0) return;
    ::unlink(path_.c_str());
    ::unlink(lockPath_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
    SyncFolderOf(path_);
}

// Writes the latest state handed over; a stop writes what is still pending first.
void KeptListFile::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stop_; });
        if (!pending_) return;
        const KeptState state = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        // Private to the user: the list names their files.
        const auto written = WriteFileAtomically(path_, EncodeKeptList(state), 0600);
        if (!written)
            std::fprintf(stderr, "vantorix: the list could not be kept in %s: %s\n", path_.c_str(),
                         written.reason.c_str());
        lock.lock();
        if (!written && failed_) failed_(written.reason);
        writing_ = false;
        written_.notify_all();
    }
}

std::vector<OrphanList> ClaimOrphanLists(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("list-", 0) == 0 && name.size() > kListEnding.size() &&
            name.compare(name.size() - kListEnding.size(), kListEnding.size(), kListEnding) == 0)
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<OrphanList> lists;
    for (const std::string& path : paths) {
        const int fd = TakeLock(LockPathOf(path));
        if (fd < 0) continue; // its program still runs
        std::string why;
        const auto text = ReadRegularFile(path, &why);
        auto state = text ? DecodeKeptList(*text, &why) : std::nullopt;
        if (state) {
            lists.push_back({path, std::move(*state), fd});
            continue;
        }
        const std::string aside = path + ".unreadable";
        std::fprintf(stderr,
                     "vantorix: a kept list could not be read (%s) and was set aside as %s\n",
                     why.c_str(), aside.c_str());
        ::rename(path.c_str(), aside.c_str());
        ::unlink(LockPathOf(path).c_str());
        ::close(fd);
    }
    return lists;
}

CleanUp RemoveHalfWritten(const RecoveryPlan& plan) {
    CleanUp cleanUp;
    for (const RecordedOutput& output : plan.halfWritten) {
        const auto found = IdentityOf(output.path);
        if (!found) continue; // gone already
        const auto leave = [&](const char* why) { cleanUp.left.emplace_back(output.path, why); };
        if (!output.identity) {
            leave("recorded by an earlier version, which kept no way to tell it is still "
                  "the file it was writing");
        } else if (!IsWorkingName(output.path)) {
            leave("not a name Vantorix writes under while it converts");
        } else if (!InFolder(output.path, output.folder)) {
            leave("not in the output folder recorded with it");
        } else if (*found != *output.identity) {
            leave("another file has taken its place since");
        } else if (RemoveIfSame(output.path, *output.identity)) {
            ++cleanUp.removed;
        } else {
            leave(std::strerror(errno));
        }
    }
    return cleanUp;
}

void FinishOrphans(std::vector<OrphanList>& lists, bool keepBackup) {
    for (OrphanList& list : lists) {
        if (keepBackup && !list.state.rows.empty())
            ::rename(list.path.c_str(), (list.path + ".bak").c_str());
        else
            ::unlink(list.path.c_str());
        ::unlink(LockPathOf(list.path).c_str());
        if (list.lockFd >= 0) ::close(list.lockFd);
        list.lockFd = -1;
    }
    lists.clear();
}

} // namespace vx
