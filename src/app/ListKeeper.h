#pragma once
// Keeps the window's list in the user's state folder while the program runs:
// a change is saved within kDelayMilliseconds, several changes in that time
// once. This thread only takes a snapshot; a worker writes it.

#include "KeptList.h"
#include "OptionSheet.h"
#include "SourceList.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace vx {

class ListKeeper : public QObject {
  public:
    static constexpr int kDelayMilliseconds = 200;

    ListKeeper(SourceList& rows, OptionSheet& sheet, std::function<int()> entry,
               const std::string& folder);

    void Changed(); // something kept has changed
    // A row's encoder writes this working file in the batch's output folder.
    void RowWriting(std::uint64_t id, const WorkingFile& working, const std::string& folder);
    void RowEnded(std::uint64_t id);
    void SaveNow();
    void Discard(); // the list goes
    // The window closes: the list goes, unless rows were still being converted
    // (their encoders end with the program, so their working files are half
    // written): then it stays for the next start to clean up and offer.
    void Closed();
    // The program ends from outside: the list stays for the next start to offer.
    void Interrupted();
    KeptListFile& file() { return file_; }
    // Told once, on this thread, the first time the list cannot be kept (its
    // folder cannot be written now, or a save fails later), with the reason.
    void OnProblem(std::function<void(const std::string& folder, const std::string& reason)> tell);

  private:
    SourceList& rows_;
    OptionSheet& sheet_;
    std::function<int()> entry_;
    KeptListFile file_;
    std::vector<RunningOutput> running_;
    std::string folder_;
    std::function<void(const std::string&, const std::string&)> tell_;
    bool told_ = false;
    QTimer timer_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The sheet's values by group and item caption, and back (read-only items skipped).
std::vector<KeptSheetValue> SheetValues(const OptionSheet& sheet);
void SetSheetValues(OptionSheet& sheet, const std::vector<KeptSheetValue>& values);

} // namespace vx
