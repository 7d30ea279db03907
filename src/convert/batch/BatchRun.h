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
#include "SourceList.h"
#include "ToolControl.h"

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vx {

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
    virtual void PowerOff() = 0;
    virtual void Pump() = 0; // lets the window process pending messages
    // Serves the window until `wake` can be read (an encoder has ended, or the run
    // was asked to look at its state) or `longest` has passed. By default: one
    // Pump, then a sleep on the descriptor.
    virtual void Wait(int wake, std::chrono::milliseconds longest);
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

    BatchRun(SourceList& rows, OptionSheet& sheet, ToolControl& tools, BatchView& view,
             std::string appFolder);
    ~BatchRun();

    // Converts the list; returns when it is done, cancelled, or a source is missing.
    void Run();
    bool Running() const { return running_; }

    // Set by the Cancel button (RequestCancel also wakes the run); the run clears
    // it when it acts on it.
    bool CancelRequested = false;
    void RequestCancel();
    // The window is going away: stop touching it at once and leave the encoders be.
    void Abandon();

    const std::string& LastCommandLine() const { return lastCommandLine_; }
    // How many encoders ran side by side at the most in the last run.
    int MostAtOnce() const { return mostAtOnce_; }

    // Files converted at once for a setting on a machine with that many cores. For
    // automatic (0) it is the most, cores plus one; how many run follows the
    // machine's idle time (MachineLoad), and rows that copy streams come on top.
    static int Capacity(int setting, int cores);

  private:
    struct Job;
    enum class End { Done, Stopped, Abandoned };
    bool Prepare(std::vector<std::uint64_t>& ids);
    End Loop(const std::vector<std::uint64_t>& ids);
    void StartRows(const std::vector<std::uint64_t>& ids);
    bool StartRow(std::uint64_t id);
    void FinishRow(Job& job, int exitCode);
    void FailRow(std::uint64_t id, const std::string& reason);
    void UpdateProgress();
    void Cancel();
    void Finish();
    void EndEarly();
    int UsedWeight() const;
    bool Fits(const EncoderJob& job) const;
    int WeightOf(const EncoderJob& job) const;

    SourceList& rows_;
    OptionSheet& sheet_;
    ToolControl& tools_;
    BatchView& view_;
    std::string appFolder_;
    std::string outputFolder_;
    bool addNew_ = true;
    double threads_ = 0;
    int capacity_ = 1;      // weight of the encoders that may run at once
    bool weighted_ = false; // automatic: rows start as the machine has room (load_)
    MachineLoad load_;
    int rowCount_ = 0; // rows in the batch at its start
    std::size_t next_ = 0;
    int total_ = 0; // the total bar's value carried over finished rows
    int shownTotal_ = 0;
    int converted_ = 0, failed_ = 0;
    bool stopStarting_ = false;
    std::string missingSource_;
    std::vector<std::unique_ptr<Job>> jobs_; // running, in the order they started
    std::set<std::string> claimed_;          // outputs of this batch
    double expectedAll_ = 0, expectedDone_ = 0;
    std::chrono::steady_clock::time_point started_{}, lineShown_{};
    int track_ = 0, mostAtOnce_ = 0;
    bool running_ = false;
    bool abandoned_ = false;
    std::string lastCommandLine_;
    BatchLog log_;
    EventCounter wake_; // counts ended encoders and requests to look
};

} // namespace vx
