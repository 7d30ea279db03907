#pragma once
// The batch conversion: every row of the source list converted by one run of
// the encoder tool, one row after the other or several side by side, with
// progress read from the encoders, row status and the reason of every failure,
// cancel, and the end-of-batch actions. The window's part of it is reached
// through BatchView.

#include "BatchLog.h"
#include "EncoderCommand.h"
#include "EncoderOutput.h"
#include "EventCounter.h"
#include "MachineLoad.h"
#include "OptionSheet.h"
#include "Settings.h"
#include "SourceList.h"
#include "ToolControl.h"
#include "WorkingFile.h"

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vx {

// The status of a row whose encoder wrote less of the file than the row expected.
inline constexpr const char* kShortStatus = "Short";

// Says so when the encoder's last report lies short of what the row expected.
std::optional<std::string> ShortfallNote(const EncoderOutput::Snapshot& latest, double expected,
                                         double start);
// Seconds as "M:SS", or "H:MM:SS" from an hour on.
std::string MinutesText(double seconds);

enum class BatchMessage {
    InvalidInput,
    Canceled,
    Completed,
    CompletedWithFailures, // a warning: some rows failed
    OutputFolder,          // the output folder cannot be made
    NoProfile,             // a heading or nothing is selected
};

// What the run needs of the main window.
class BatchView {
  public:
    virtual ~BatchView() = default;
    virtual int SelectedPosition() const = 0;     // 0 when nothing is selected
    virtual std::string SelectedText() const = 0; // the selected entry's display text
    virtual void ShowPanel(bool shown) = 0;       // the progress panel
    virtual void SetBusy(bool busy) = 0;          // hourglass; commands that must wait
    virtual void SetTrackProgress(int percent) = 0;
    virtual void SetTotalProgress(int percent) = 0;
    virtual void SetFileCaption(const std::string& caption) = 0;
    virtual void StartClock() = 0; // the elapsed-time clock from 0
    virtual void StopClock() = 0;
    virtual void ShowMessage(BatchMessage message, const std::string& text) = 0;
    virtual void OpenFolder(const std::string& folder) = 0;
    // Asks the system to power off; empty when asked, else why it cannot be.
    virtual std::string PowerOff() = 0;
    // Lets the window process pending messages (only the blocking Run calls it).
    virtual void Pump() {}
    // The run has ended, however it ended.
    virtual void Ended() {}
    // A row's encoder has started: `output` is the final name (of a file that
    // existed before or a new one), `working` the file it writes until the row
    // ends OK, in the batch's output folder `folder`; the row has ended (its
    // status and note are set, the working file renamed or removed).
    virtual void RowStarted(std::uint64_t /*id*/, const std::string& /*output*/, bool /*existed*/) {
    }
    virtual void RowWriting(std::uint64_t /*id*/, const WorkingFile& /*working*/,
                            const std::string& /*folder*/) {}
    virtual void RowEnded(std::uint64_t /*id*/) {}
    // The line under the bars: time left, speed, files converted at once.
    virtual void SetProgressLine(const std::string&) {}
    // Keeps the computer from sleeping while the batch runs.
    virtual void PreventSleep(bool) {}
};

class BatchRun {
  public:
    // How often the bars and the line under them follow the encoders; an encoder's
    // end is seen at once.
    static constexpr int kRefreshMilliseconds = 500;
    // Before an encoder reports, the current-file bar steps once every third of the
    // clip's seconds in these units.
    static constexpr int kPaceMilliseconds = 50;
    // A cancelled encoder that has not ended on its key this long after it is
    // stopped: a cancel ends within a second even when an encoder would first
    // finish the frames it holds.
    static constexpr int kStopGraceMilliseconds = 400;

    BatchRun(SourceList& rows, OptionSheet& sheet, ToolControl& tools, BatchView& view,
             std::string appFolder);
    ~BatchRun();

    // Starts the batch and returns at once; the run goes on in Step. False when
    // nothing was started (an empty list, a heading, no output folder) or the run
    // has already ended.
    bool Start();
    // Looks at the encoders, refills free slots, moves the bars, and ends the run
    // when the list is done. Whoever drives the run calls it when WakeDescriptor()
    // can be read and at least every kRefreshMilliseconds.
    void Step();
    int WakeDescriptor() const { return wake_.Descriptor(); }
    // How long the driver may wait for the descriptor before the next Step:
    // kRefreshMilliseconds, less while cancelled encoders are given their time.
    int NextStepMilliseconds() const;
    // Start for these rows alone (those of the last batch that did not convert),
    // with the entry and options chosen now.
    bool StartOnly(std::vector<std::uint64_t> ids);
    // The rows of the last batch that ended otherwise than "OK" (failed,
    // cancelled, short, or never reached) and are still in the list.
    std::vector<std::uint64_t> RowsToRedo() const;
    // Converts the list and returns when it is done, cancelled, or a source is
    // missing: Start, then Step whenever the descriptor or the clock calls.
    void Run();
    // The same for chosen rows (StartOnly).
    void RunOnly(std::vector<std::uint64_t> ids);
    bool Running() const { return running_; }

    // Set by the Cancel button (RequestCancel also wakes the run); the run clears
    // it when it acts on it.
    bool CancelRequested = false;
    void RequestCancel();
    // The window is going away: stop touching it at once and leave the encoders be.
    void Abandon();
    // The program is ending now: every encoder is stopped at once and what it
    // wrote goes; the rows keep their status and the window is not touched again.
    void Halt();

    // The settings of the next runs instead of those of the settings file.
    void UseSettings(const BatchSettings& settings) { settings_ = settings; }
    // Every row's conversion as a run would start it now, output names resolved
    // as if they all ran at once; starts nothing and makes no folder.
    std::vector<Result<EncoderJob>> Plan();

    const std::string& LastCommandLine() const { return lastCommandLine_; }
    // How many encoders ran side by side at the most in the last run.
    int MostAtOnce() const { return mostAtOnce_; }

    // Files converted at once for a setting on a machine with that many cores. For
    // automatic (0) it is the most, cores plus one; how many run follows the
    // machine's idle time (MachineLoad), and rows that copy streams come on top.
    static int Capacity(int setting, int cores);

  private:
    struct Job;
    enum class End { Going, Done, Stopped, Abandoned };
    bool Prepare();
    void Serve();
    End Advance();
    void Conclude(End end);
    void ReapEnded();
    void StartRows();
    bool StartRow(std::uint64_t id);
    Result<EncoderJob> PrepareRow(int row, bool claim) const;
    void TakeSettings();
    void FinishRow(Job& job, int exitCode);
    void FailRunningRow(Job& job, const std::string& status, const std::string& reason,
                        const std::vector<std::string>& lastLines);
    void ClearEarlierResults();
    void FailRow(std::uint64_t id, const std::string& reason);
    void UpdateProgress();
    void Cancel();
    End StopCancelled();
    void Finish();
    std::string Counts() const;
    std::string FailedRows() const;
    void EndEarly();
    bool Fits(const EncoderJob& job) const;

    SourceList& rows_;
    OptionSheet& sheet_;
    ToolControl& tools_;
    BatchView& view_;
    std::string appFolder_;
    std::optional<BatchSettings> settings_;
    std::string outputFolder_;
    bool addNew_ = true;
    bool keepFolders_ = false;
    double threads_ = 0;
    int capacity_ = 1;      // encoders that may run at once
    bool weighted_ = false; // automatic: rows start as the machine has room (load_)
    MachineLoad load_;
    int rowCount_ = 0; // rows in the batch at its start
    std::size_t next_ = 0;
    int total_ = 0; // the total bar's value carried over finished rows
    int shownTotal_ = 0;
    int converted_ = 0, failed_ = 0, short_ = 0;
    bool stopStarting_ = false;
    std::string missingSource_;
    std::vector<std::uint64_t> ids_;                 // the rows of the batch, in list order
    std::optional<std::vector<std::uint64_t>> only_; // the rows of the next run, when not all
    bool redoing_ = false;                           // this run converts chosen rows, not the list
    std::vector<std::unique_ptr<Job>> jobs_;         // running, in the order they started
    std::vector<std::unique_ptr<Job>> stopping_;     // cancelled, not yet ended
    std::chrono::steady_clock::time_point cancelledAt_{};
    int removed_ = 0;               // unfinished new outputs removed after a cancel
    std::set<std::string> claimed_; // outputs of this batch
    double expectedAll_ = 0, expectedDone_ = 0;
    std::chrono::steady_clock::time_point started_{}, lineShown_{};
    int track_ = 0, mostAtOnce_ = 0;
    bool running_ = false;
    bool stepping_ = false; // Step is at work (a message box it shows may serve events)
    bool abandoned_ = false;
    std::string lastCommandLine_;
    BatchLog log_;
    EventCounter wake_; // counts ended encoders and requests to look
};

} // namespace vx
