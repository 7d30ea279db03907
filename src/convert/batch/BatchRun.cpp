#include "BatchRun.h"

#include "EncoderCommand.h"
#include "OutputFolder.h"
#include "Settings.h"
#include "SheetLayout.h"
#include "TimeText.h"
#include "Tools.h"

#include <chrono>
#include <cmath>
#include <filesystem>

namespace vx {

BatchRun::BatchRun(SourceList& rows, OptionSheet& sheet, ToolControl& tools, BatchView& view,
                   std::string appFolder)
    : rows_(rows), sheet_(sheet), tools_(tools), view_(view), appFolder_(std::move(appFolder)) {}

void BatchRun::Run() {
    if (rows_.Count() == 0 || running_) return;
    running_ = true;
    abandoned_ = false;
    if (tools_.PlayerProcessId != 0) tools_.PostKeyToPlayer(kKeyQ);
    view_.ShowPanel(true);
    total_ = 0;
    view_.SetTotalProgress(0);
    view_.SetBusy(true);
    const BatchSettings settings = LoadBatchSettings(appFolder_);
    outputFolder_ = AbsoluteOutputFolder(settings.outputFolder, appFolder_, HomeFolder());
    addNew_ = settings.addNew;
    threads_ = settings.threads;
    if (const auto reason = EnsureFolder(outputFolder_)) {
        EndEarly();
        view_.ShowMessage(BatchMessage::OutputFolder,
                          "The output folder " + outputFolder_ + " cannot be created: " + *reason);
        running_ = false;
        return;
    }
    view_.StartClock();

    const int count = rows_.Count();
    for (int row = 0; row < count && row < rows_.Count(); ++row) {
        if (ConvertRow(row) != RowEnd::Done) { // cancelled, a missing source, or abandoned
            running_ = false;
            return;
        }
    }
    Finish();
    running_ = false;
}

// Reads the row's options and builds its output path and command line.
bool BatchRun::ReadRowJob(int row, EncoderJob& job) {
    auto options = ReadConversionOptions(sheet_);
    if (!options) return false;
    options->ClipStart = rows_.At(row, kStart);
    options->ClipEnd = rows_.At(row, kEnd);
    JobRequest request;
    request.position = view_.SelectedPosition();
    request.displayText = view_.SelectedText();
    request.options = *options;
    request.sourcePath = rows_.At(row, kFileName);
    request.appFolder = appFolder_;
    request.outputFolder = outputFolder_;
    request.addNew = addNew_;
    request.threads = threads_;
    const auto prepared = PrepareConversion(request);
    if (!prepared.ok()) return false;
    job = *prepared.value;
    return true;
}

BatchRun::RowEnd BatchRun::ConvertRow(int row) {
    const std::string source = rows_.At(row, kFileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) {
        view_.ShowMessage(BatchMessage::InvalidInput, "Invalid input file name. " + source);
        if (abandoned_) return RowEnd::Abandoned;
        EndEarly();
        return RowEnd::SourceMissing;
    }
    const std::uint64_t id = rows_.Row(row).id;
    EncoderJob job;
    if (!ReadRowJob(row, job)) {
        rows_.Set(id, kStatus, "Fail");
        return RowEnd::Done;
    }
    view_.SetFileCaption("Progress...." + source + " To " + job.outputPath);
    rows_.Set(id, kStatus, "Processing");
    view_.Pump();
    if (abandoned_) return RowEnd::Abandoned;

    lastCommandLine_ = job.commandLine;
    const pid_t pid = ToolRegistry::Instance().Start(job.commandLine, appFolder_);
    if (pid <= 0) {
        rows_.Set(id, kStatus, "Fail");
        return RowEnd::Done;
    }
    tools_.EncoderProcessId = pid;
    int exitCode = 0;
    const RowEnd end = WaitForEncoder(row, pid, job.durationSeconds, exitCode);
    if (end != RowEnd::Done) return end;

    view_.Pump();
    view_.SetTrackProgress(100);
    // The encoder's exit status decides: a failed or killed encoder is no success.
    if (exitCode != 0) {
        rows_.Set(id, kStatus, "Fail");
        return RowEnd::Done;
    }
    rows_.Set(id, kStatus, "OK");
    total_ = static_cast<int>(std::nearbyint(total_ + 100.0 / rows_.Count()));
    view_.SetTotalProgress(total_);
    return RowEnd::Done;
}

// The current-file bar is a paced estimate: it starts at 10, steps by one
// every (duration div 3) polls and stays at or below 83 while the encoder runs.
BatchRun::RowEnd BatchRun::WaitForEncoder(int row, pid_t pid, int durationSeconds, int& exitCode) {
    int track = 10;
    view_.SetTrackProgress(track);
    view_.Pump();
    int polls = 0;
    const int pace = durationSeconds / 3;
    while (true) {
        const auto code =
            ToolRegistry::Instance().WaitForExit(pid, std::chrono::milliseconds(kPollMilliseconds));
        view_.Pump();
        if (abandoned_) return RowEnd::Abandoned;
        if (CancelRequested) {
            Cancel(row);
            return abandoned_ ? RowEnd::Abandoned : RowEnd::Cancelled;
        }
        if (code) {
            exitCode = *code;
            return RowEnd::Done;
        }
        if (++polls >= pace) {
            track = std::min(track + 1, 83);
            polls = 0;
            view_.SetTrackProgress(track);
        }
    }
}

void BatchRun::Cancel(int row) {
    rows_.SetAt(row, kStatus, "Cancel");
    view_.SetBusy(false);
    tools_.PostKeyToEncoder(kKeyQ); // the encoder closes its file and ends; no waiting
    view_.ShowMessage(BatchMessage::Canceled, "Conversion Canceled by the user!");
    if (abandoned_) return;
    view_.StopClock();
    view_.SetTrackProgress(0);
    view_.SetTotalProgress(0);
    view_.ShowPanel(false);
    view_.Pump();
    CancelRequested = false;
}

// After a missing source the run ends as at the end of the list, without its messages.
void BatchRun::EndEarly() {
    view_.StopClock();
    view_.SetBusy(false);
    view_.SetTrackProgress(0);
    view_.SetTotalProgress(0);
    view_.ShowPanel(false);
}

void BatchRun::Finish() {
    view_.StopClock();
    view_.SetTotalProgress(100);
    view_.SetBusy(false);
    if (AutoShutdownRequested(appFolder_)) view_.PowerOff();
    view_.ShowMessage(BatchMessage::Completed, "Conversion completed!");
    if (abandoned_) return;
    view_.SetTrackProgress(0);
    view_.SetTotalProgress(0);
    view_.ShowPanel(false);
    total_ = 0;
    view_.OpenFolder(outputFolder_);
}

} // namespace vx
