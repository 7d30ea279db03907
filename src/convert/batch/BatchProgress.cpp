// The batch's progress, its cancel and its end.
#include "BatchRun.h"

#include "BatchJob.h"

#include "Settings.h"
#include "TimeText.h"
#include "Tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace vx {

namespace fs = std::filesystem;

namespace {

double Share(const EncoderOutput::Snapshot& latest, double expected) {
    if (!latest.reported || expected <= 0) return 0;
    return std::clamp(latest.encodedSeconds / expected, 0.0, 1.0);
}

std::string ProgressLine(double done, std::chrono::steady_clock::duration elapsed, double speed,
                         int atOnce) {
    std::string line = "Time left: ";
    const double seconds = std::chrono::duration<double>(elapsed).count();
    if (done < 0.01 || seconds < 1) {
        line += "estimating";
    } else {
        const double left = seconds * (1 - done) / done;
        line += TimeText(static_cast<std::int64_t>(std::lround(left)));
    }
    char text[64];
    if (speed > 0) {
        std::snprintf(text, sizeof text, "    Speed: %.1fx", speed);
        line += text;
    }
    line += "    Files at once: " + std::to_string(atOnce);
    return line;
}

} // namespace

// The current-file bar follows the row that started last: the share of its clip
// that the encoder reports done, or the paced estimate while it has reported
// nothing. The total bar counts finished rows and the running rows' shares.
void BatchRun::UpdateProgress() {
    const auto now = std::chrono::steady_clock::now();
    double running = 0, speed = 0, encoded = 0;
    for (auto& job : jobs_) {
        const EncoderOutput::Snapshot latest = job->output.Latest();
        const double share = Share(latest, job->encoder.expectedSeconds);
        running += share;
        encoded += share * job->encoder.expectedSeconds;
        speed += latest.speed;
        if (job->pid != tools_.EncoderProcessId) continue;
        if (latest.reported && job->encoder.expectedSeconds > 0) {
            track_ = std::max(track_, static_cast<int>(share * 100));
        } else {
            const auto step = std::chrono::milliseconds(kPaceMilliseconds) *
                              std::max(1, job->encoder.durationSeconds / 3);
            const auto steps = static_cast<int>((now - job->startedAt) / step);
            track_ = std::max(track_, std::min(10 + steps, 83));
        }
        view_.SetTrackProgress(track_);
    }
    const int total = static_cast<int>(std::nearbyint(total_ + running * 100 / rowCount_));
    if (total > shownTotal_) view_.SetTotalProgress(shownTotal_ = std::min(total, 100));
    if (now - lineShown_ < std::chrono::milliseconds(500)) return;
    lineShown_ = now;
    const double done = expectedAll_ > 0 ? (expectedDone_ + encoded) / expectedAll_ : 0;
    view_.SetProgressLine(
        ProgressLine(std::min(done, 1.0), now - started_, speed, static_cast<int>(jobs_.size())));
}

// Every running encoder is told to quit; rows not started keep their status.
void BatchRun::Cancel() {
    for (auto& job : jobs_) {
        rows_.Set(job->id, kStatus, "Cancel");
        log_.Ended(job->row, "Cancel", "", job->output.LastLines());
        tools_.EncoderProcessId = job->pid;
        tools_.PostKeyToEncoder(kKeyQ);
    }
    stopping_ = std::move(jobs_);
    jobs_.clear();
    cancelledAt_ = std::chrono::steady_clock::now();
}

// A cancelled encoder closes its file and ends; what it wrote is no whole
// conversion and goes (the final name, and an earlier file of that name, are
// never touched).
// One that does not end on its key is stopped.
BatchRun::End BatchRun::StopCancelled() {
    if (stopping_.empty()) Cancel();
    const bool late = std::chrono::steady_clock::now() - cancelledAt_ >=
                      std::chrono::milliseconds(kStopGraceMilliseconds);
    for (std::size_t i = 0; i < stopping_.size();) {
        Job& job = *stopping_[i];
        if (!ToolRegistry::Instance().WaitForExit(job.pid, std::chrono::milliseconds(0))) {
            if (late) ToolRegistry::Instance().Kill(job.pid);
            ++i;
            continue;
        }
        if (RemoveIfSame(job.working.path, job.working.identity)) ++removed_;
        std::error_code workError;
        if (!job.encoder.workFolder.empty()) fs::remove_all(job.encoder.workFolder, workError);
        view_.RowEnded(job.id);
        ToolRegistry::Instance().Release(job.pid);
        stopping_.erase(stopping_.begin() + static_cast<long>(i));
    }
    if (!stopping_.empty()) return End::Going;
    view_.SetBusy(false);
    std::string text = "Conversion Canceled by the user!";
    if (removed_ > 0) {
        text += '\n';
        text += std::to_string(removed_);
        text += removed_ == 1 ? " unfinished output file was removed."
                              : " unfinished output files were removed.";
    }
    view_.ShowMessage(BatchMessage::Canceled, text);
    CancelRequested = false;
    if (abandoned_) return End::Abandoned;
    view_.StopClock();
    view_.SetTrackProgress(0);
    view_.SetTotalProgress(0);
    view_.ShowPanel(false);
    return End::Stopped;
}

int BatchRun::NextStepMilliseconds() const {
    if (stopping_.empty()) return kRefreshMilliseconds;
    const auto kill = cancelledAt_ + std::chrono::milliseconds(kStopGraceMilliseconds);
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(kill - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long>(left.count(), 1, kRefreshMilliseconds));
}

// Ended from outside: no encoder is asked, none is waited for longer than it
// takes to die.
void BatchRun::Halt() {
    if (!running_) return;
    for (auto* list : {&jobs_, &stopping_}) {
        for (const auto& job : *list) {
            ToolRegistry::Instance().Kill(job->pid);
            ToolRegistry::Instance().WaitForExit(job->pid, std::chrono::seconds(2));
            RemoveIfSame(job->working.path, job->working.identity);
            view_.RowEnded(job->id);
            ToolRegistry::Instance().Release(job->pid);
        }
        list->clear();
    }
    abandoned_ = true;
    if (!stepping_) Conclude(End::Abandoned); // else the Step at work ends the run
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
    log_.Line("batch ended: " + Counts());
    // Nothing converted: no power-off and no folder to look at.
    const int made = converted_ + short_;
    std::string powerOff;
    if (made > 0 && AutoShutdownRequested(appFolder_)) powerOff = view_.PowerOff();
    std::string text = "Conversion completed!";
    if (failed_ > 0 || short_ > 0) { // piece by piece: GCC 12 -O3 warns falsely otherwise
        text += '\n';
        text += Counts();
        text += '.';
        text += FailedRows();
    }
    // A power-off that could not be asked for is said: the computer stays on.
    if (!powerOff.empty())
        text += "\nThe computer could not be switched off and stays on: " + powerOff + ".";
    view_.ShowMessage(failed_ > 0 || short_ > 0 || !powerOff.empty()
                          ? BatchMessage::CompletedWithFailures
                          : BatchMessage::Completed,
                      text);
    if (abandoned_) return;
    view_.SetTrackProgress(0);
    view_.SetTotalProgress(0);
    view_.ShowPanel(false);
    total_ = 0;
    if (made > 0) view_.OpenFolder(outputFolder_);
}

// "28 converted, 1 shorter than expected, 1 failed"
std::string BatchRun::Counts() const {
    std::string text = std::to_string(converted_) + " converted";
    if (short_ > 0) text += ", " + std::to_string(short_) + " shorter than expected";
    if (failed_ > 0) text += ", " + std::to_string(failed_) + " failed";
    return text;
}

// The first failed rows of the batch by name, each with its reason.
std::string BatchRun::FailedRows() const {
    constexpr int kNamed = 5;
    std::string text;
    int failed = 0;
    for (const std::uint64_t id : ids_) {
        const int row = rows_.RowOf(id);
        if (row < 0 || rows_.At(row, kStatus) != "Fail") continue;
        if (++failed > kNamed) continue;
        const SourceItem& item = rows_.Row(row);
        text += '\n';
        text += fs::path(item.columns[kFileName]).filename().string();
        if (!item.note.empty()) {
            text += ": ";
            text += item.note;
        }
    }
    if (failed > kNamed) {
        text += "\nand ";
        text += std::to_string(failed - kNamed);
        text += " more";
    }
    if (failed > 0) text.insert(0, 1, '\n');
    return text;
}

} // namespace vx
