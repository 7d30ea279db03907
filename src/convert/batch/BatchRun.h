#pragma once
// The batch conversion: every row of the source list converted in turn by one
// run of the encoder tool, with progress, row status, cancel and the end-of-batch
// actions. The window's part of it is reached through BatchView.

#include "EncoderCommand.h"
#include "OptionSheet.h"
#include "SourceList.h"
#include "ToolControl.h"

#include <string>

namespace vx {

enum class BatchMessage { InvalidInput, Canceled, Completed, OutputFolder };

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
};

class BatchRun {
  public:
    // The longest the run waits for the encoder between two services of the window.
    static constexpr int kPollMilliseconds = 50;

    BatchRun(SourceList& rows, OptionSheet& sheet, ToolControl& tools, BatchView& view,
             std::string appFolder);

    // Converts the list; returns when it is done, cancelled, or a source is missing.
    void Run();
    bool Running() const { return running_; }

    // Set by the Cancel button; the run clears it when it acts on it.
    bool CancelRequested = false;
    // The window is going away: stop touching it at once and leave the encoder be.
    void Abandon() { abandoned_ = true; }

    const std::string& LastCommandLine() const { return lastCommandLine_; }

  private:
    enum class RowEnd { Done, SourceMissing, Cancelled, Abandoned };
    RowEnd ConvertRow(int row);
    RowEnd WaitForEncoder(int row, pid_t pid, int durationSeconds, int& exitCode);
    void Cancel(int row);
    void Finish();
    void EndEarly();
    bool ReadRowJob(int row, EncoderJob& job);

    SourceList& rows_;
    OptionSheet& sheet_;
    ToolControl& tools_;
    BatchView& view_;
    std::string appFolder_;
    std::string outputFolder_;
    bool addNew_ = true;
    double threads_ = 0;
    int total_ = 0;
    bool running_ = false;
    bool abandoned_ = false;
    std::string lastCommandLine_;
};

} // namespace vx
