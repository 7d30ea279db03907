#pragma once
// The kept list: the source list, the chosen entry and the option sheet's values
// saved in the user's state folder while the program runs, so that a list is not
// lost when the program ends abnormally. One file per running window
// (list-<pid>.vxlist) beside a lock file that the window holds while it lives.

#include "SourceList.h"
#include "WorkingFile.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vx {

// One part of a joined row, as its own row was.
struct KeptPart {
    std::array<std::string, kColumnCount> columns;
    std::string audioFormat;
    std::string unreadable;
    bool operator==(const KeptPart&) const = default;
};

struct KeptRow {
    std::array<std::string, kColumnCount> columns;
    std::string output;      // the working file its encoder was writing; empty when none
    bool outputNew = false;  // lists of earlier versions: `output` (a final name) was new
    std::string audioFormat; // what the probe found beside the columns
    std::string unreadable;
    std::string root;         // the folder the file was added with; empty: added on its own
    std::string outputFolder; // the batch's output folder, beside `output`
    std::optional<FileIdentity> outputIdentity; // none in lists of earlier versions
    std::vector<KeptPart> parts;                // a joined row's parts, in order
    bool operator==(const KeptRow&) const = default;
};

struct KeptSheetValue {
    std::string group, item, value;
    bool operator==(const KeptSheetValue&) const = default;
};

struct KeptState {
    int entry = 0; // the chooser's selected position
    std::vector<KeptSheetValue> sheet;
    std::vector<KeptRow> rows;
    bool operator==(const KeptState&) const = default;
};

// The rows of the list as they are now; `outputs` gives, by row id, the working
// file a running encoder writes and the output folder it lies in.
struct RunningOutput {
    std::uint64_t id = 0;
    WorkingFile working;
    std::string folder;
};
std::vector<KeptRow> SnapshotRows(const SourceList& list,
                                  const std::vector<RunningOutput>& outputs);

std::string EncodeKeptList(const KeptState& state);
// Empty when the text is cut short, damaged or from a newer version; `why` says which.
std::optional<KeptState> DecodeKeptList(std::string_view text, std::string* why = nullptr);

// The folder of the kept lists: $XDG_STATE_HOME/vantorix, else ~/.local/state/vantorix.
std::string KeptListFolder();

// This process's list file and its lock, held until the process ends. Saves run on
// a worker thread: Save only hands the state over; the latest state wins.
class KeptListFile {
  public:
    explicit KeptListFile(std::string folder);
    ~KeptListFile(); // writes what is still pending
    bool Locked() const { return lockFd_ >= 0; }
    const std::string& Path() const { return path_; }
    void Save(KeptState state);
    void WaitUntilWritten(); // for tests and benchmarks
    // Called on the writer's thread with the reason whenever a save fails.
    void OnFailure(std::function<void(const std::string&)> failed);
    // The normal end: nothing pending is written, the list and its lock go.
    void Discard();

  private:
    void Work();
    std::string folder_, path_, lockPath_;
    int lockFd_ = -1;
    std::mutex mutex_;
    std::condition_variable wake_, written_;
    std::optional<KeptState> pending_;
    std::function<void(const std::string&)> failed_;
    bool writing_ = false, stop_ = false;
    std::thread worker_;
};

// The lists of programs that are no longer running, each claimed (its lock taken)
// so that no other start takes it too.
struct OrphanList {
    std::string path;
    KeptState state;
    int lockFd = -1;
};
// Unreadable lists are set aside (renamed to *.unreadable) with one line on stderr.
std::vector<OrphanList> ClaimOrphanLists(const std::string& folder);

// A file that an encoder of the ended program was writing, as its list recorded it.
struct RecordedOutput {
    std::string path, folder;
    std::optional<FileIdentity> identity;
};

// What a restart does with the lists of programs that ended abnormally.
struct RecoveryPlan {
    int total = 0;                           // rows in the lists
    std::vector<std::string> converted;      // paths converted before the end (not restored)
    std::vector<KeptRow> restore;            // the other rows, in list order
    std::vector<RecordedOutput> halfWritten; // files that were being written
    int entry = 0;
    std::vector<KeptSheetValue> sheet;
};
RecoveryPlan PlanRecovery(const std::vector<OrphanList>& lists);

// The half-written files removed, and those left in place with the reason.
struct CleanUp {
    int removed = 0;
    std::vector<std::pair<std::string, std::string>> left; // path, why
};
// Removes a recorded file only when it is a working file in the output folder
// recorded with it and still the very file recorded (device and inode): never a
// final name, never a file made there since.
CleanUp RemoveHalfWritten(const RecoveryPlan& plan);
// The question to the user.
std::string RecoveryQuestion(const RecoveryPlan& plan, const CleanUp& cleanUp);
// Yes: the lists go. No: each is kept as <list>.bak, once. Both release the locks.
void FinishOrphans(std::vector<OrphanList>& lists, bool keepBackup);

} // namespace vx
