// The course of a batch: its start, the wakes that start and reap rows, its end.
// What happens to each row is in BatchRows.cpp.
#include "BatchRun.h"

#include "BatchJob.h"

#include "Catalog.h"
#include "OutputFolder.h"
#include "Settings.h"
#include "TimeText.h"
#include "Tools.h"
#include "UserFolders.h"

#include <algorithm>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace vx {

using Clock = std::chrono::steady_clock;

BatchRun::BatchRun(SourceList& rows, OptionSheet& sheet, ToolControl& tools, BatchView& view,
                   std::string appFolder)
    : rows_(rows), sheet_(sheet), tools_(tools), view_(view), appFolder_(std::move(appFolder)) {}

BatchRun::~BatchRun() {
    ToolRegistry::Instance().RemoveEndSignal(wake_.Descriptor());
}

void BatchRun::RequestCancel() {
    CancelRequested = true;
    wake_.Add();
}

void BatchRun::Abandon() {
    abandoned_ = true;
    wake_.Add();
}

int BatchRun::Capacity(int setting, int cores) {
    if (setting >= 1) return std::min(setting, 16);
    return std::max(1, cores) + 1;
}

bool BatchRun::StartOnly(std::vector<std::uint64_t> ids) {
    if (ids.empty() || running_) return false;
    only_ = std::move(ids);
    const bool started = Start();
    only_.reset();
    return started;
}

std::vector<std::uint64_t> BatchRun::RowsToRedo() const {
    std::vector<std::uint64_t> redo;
    if (running_) return redo;
    for (const std::uint64_t id : ids_) {
        const int row = rows_.RowOf(id);
        if (row >= 0 && rows_.At(row, kStatus) != "OK") redo.push_back(id);
    }
    return redo;
}

bool BatchRun::Start() {
    if (rows_.Count() == 0 || running_) return false;
    // A heading names no output format: nothing is started and no row marked.
    const CatalogEntry* entry = ProfileCatalog::At(view_.SelectedPosition());
    if (!entry || entry->kind != EntryKind::Profile) {
        view_.ShowMessage(BatchMessage::NoProfile,
                          "Please choose an output profile (a format, not a heading) in the "
                          "Profile list before converting.");
        return false;
    }
    running_ = true;
    abandoned_ = false;
    CancelRequested = false;
    if (!Prepare()) {
        running_ = false;
        view_.PreventSleep(false);
        return false;
    }
    ToolRegistry::Instance().AddEndSignal(wake_.Descriptor());
    Step();
    return running_;
}

void BatchRun::Run() {
    if (Start()) Serve();
}

void BatchRun::RunOnly(std::vector<std::uint64_t> ids) {
    if (StartOnly(std::move(ids))) Serve();
}

void BatchRun::Serve() {
    while (running_) {
        view_.Pump();
        pollfd fd{wake_.Descriptor(), POLLIN, 0};
        while (poll(&fd, 1, NextStepMilliseconds()) < 0 && errno == EINTR) {
        }
        Step();
    }
}

void BatchRun::Step() {
    if (!running_ || stepping_) {
        wake_.Take(); // a message box of the ending run serves events: nothing to look at
        return;
    }
    stepping_ = true;
    wake_.Take();
    const End end = Advance();
    if (end != End::Going) Conclude(end);
    stepping_ = false;
}

// One look at the batch: ended encoders finish their rows, free slots are filled
// and the bars follow the encoders.
BatchRun::End BatchRun::Advance() {
    if (abandoned_) return End::Abandoned;
    if (!stopping_.empty() || (CancelRequested && !jobs_.empty())) return StopCancelled();
    ReapEnded();
    UpdateProgress();
    StartRows();
    if (jobs_.empty()) {
        if (missingSource_.empty()) return End::Done;
        // after the rows that were running have ended
        view_.ShowMessage(BatchMessage::InvalidInput, "Invalid input file name. " + missingSource_);
        if (abandoned_) return End::Abandoned;
        EndEarly();
        return End::Stopped;
    }
    return End::Going;
}

void BatchRun::ReapEnded() {
    for (std::size_t i = 0; i < jobs_.size();) {
        const auto code =
            ToolRegistry::Instance().WaitForExit(jobs_[i]->pid, std::chrono::milliseconds(0));
        if (!code) {
            ++i;
            continue;
        }
        FinishRow(*jobs_[i], *code);
        ToolRegistry::Instance().Release(jobs_[i]->pid);
        jobs_.erase(jobs_.begin() + static_cast<long>(i));
    }
}

void BatchRun::Conclude(End end) {
    ToolRegistry::Instance().RemoveEndSignal(wake_.Descriptor());
    for (auto& job : jobs_)
        ToolRegistry::Instance().Release(job->pid);
    jobs_.clear();
    if (end == End::Done) Finish();
    if (!abandoned_) view_.PreventSleep(false);
    running_ = false;
    view_.Ended();
}

// The start of the run: the player stopped, the panel shown, the settings read
// and the output folder made ready.
bool BatchRun::Prepare() {
    if (tools_.PlayerProcessId != 0) tools_.PostKeyToPlayer(kKeyQ);
    view_.ShowPanel(true);
    total_ = shownTotal_ = track_ = 0;
    converted_ = failed_ = short_ = mostAtOnce_ = removed_ = 0;
    view_.SetTotalProgress(0);
    view_.SetBusy(true);
    TakeSettings();
    load_.Reset();
    if (const auto reason = EnsureFolder(outputFolder_)) {
        EndEarly();
        view_.ShowMessage(BatchMessage::OutputFolder,
                          "The output folder " + outputFolder_ + " cannot be created: " + *reason);
        return false;
    }
    view_.PreventSleep(true);
    log_.Open();
    expectedAll_ = expectedDone_ = 0;
    ids_.clear();
    for (int row = 0; row < rows_.Count(); ++row) {
        const std::uint64_t id = rows_.Row(row).id;
        if (only_ && std::find(only_->begin(), only_->end(), id) == only_->end()) continue;
        ids_.push_back(id);
        const auto start = ReadTimeOfDay(rows_.At(row, kStart));
        const auto end = ReadTimeOfDay(rows_.At(row, kEnd));
        expectedAll_ += (start && end && *end > *start) ? *end - *start : 0;
    }
    rowCount_ = static_cast<int>(ids_.size());
    redoing_ = only_.has_value();
    ClearEarlierResults();
    next_ = 0;
    stopStarting_ = false;
    missingSource_.clear();
    claimed_.clear();
    jobs_.clear();
    stopping_.clear();
    started_ = Clock::now();
    lineShown_ = {};
    view_.StartClock();
    return true;
}

// The rows of this batch show only what it does to them: an "OK" of an earlier
// batch would pass for one of this batch should it not end. A row marked
// unreadable when it was added keeps its mark.
void BatchRun::ClearEarlierResults() {
    for (const std::uint64_t id : ids_) {
        const int row = rows_.RowOf(id);
        if (row < 0 || !rows_.Row(row).unreadable.empty()) continue;
        if (!rows_.At(row, kStatus).empty()) rows_.Set(id, kStatus, "");
        rows_.SetNote(id, "");
    }
}

void BatchRun::StartRows() {
    // Once per wake (at least every kRefreshMilliseconds) while rows wait to start.
    if (weighted_ && next_ < ids_.size()) load_.Sample();
    while (!stopStarting_ && next_ < ids_.size() && !abandoned_ && !CancelRequested) {
        if (!StartRow(ids_[next_])) return; // no room yet
        ++next_;
    }
}

bool BatchRun::Fits(const EncoderJob& job) const {
    if (weighted_) {
        const auto copying = std::count_if(jobs_.begin(), jobs_.end(),
                                           [](const auto& j) { return j->encoder.light; });
        const auto encoding = static_cast<long>(jobs_.size()) - copying;
        return load_.MayStart(job.light, static_cast<int>(encoding), static_cast<int>(copying));
    }
    return jobs_.size() < static_cast<std::size_t>(capacity_);
}

void BatchRun::TakeSettings() {
    const BatchSettings settings = settings_ ? *settings_ : LoadBatchSettings(appFolder_);
    outputFolder_ = AbsoluteOutputFolder(settings.outputFolder, appFolder_, HomeFolder());
    addNew_ = settings.addNew;
    keepFolders_ = settings.keepFolders;
    threads_ = settings.threads;
    capacity_ = Capacity(settings.parallel, static_cast<int>(std::thread::hardware_concurrency()));
    weighted_ = settings.parallel == 0; // a chosen number is kept as it is
}

} // namespace vx
