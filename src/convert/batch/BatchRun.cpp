#include "BatchRun.h"

#include "BatchJob.h"

#include "Catalog.h"
#include "OutputFolder.h"
#include "Settings.h"
#include "SheetLayout.h"
#include "TimeText.h"
#include "Tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <poll.h>
#include <thread>

namespace vx {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void BatchView::Wait(int wake, std::chrono::milliseconds longest) {
    Pump();
    pollfd fd{wake, POLLIN, 0};
    while (poll(&fd, 1, static_cast<int>(longest.count())) < 0 && errno == EINTR) {
    }
}

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

void BatchRun::Run() {
    if (rows_.Count() == 0 || running_) return;
    // A heading names no output format: nothing is started and no row marked.
    const CatalogEntry* entry = ProfileCatalog::At(view_.SelectedPosition());
    if (!entry || entry->kind != EntryKind::Profile) {
        view_.ShowMessage(BatchMessage::NoProfile,
                          "Please choose an output profile (a format, not a heading) in the "
                          "Profile list before converting.");
        return;
    }
    running_ = true;
    abandoned_ = false;
    std::vector<std::uint64_t> ids;
    if (Prepare(ids)) {
        ToolRegistry::Instance().AddEndSignal(wake_.Descriptor());
        const End end = Loop(ids);
        ToolRegistry::Instance().RemoveEndSignal(wake_.Descriptor());
        if (end == End::Done) Finish();
    }
    if (!abandoned_) view_.PreventSleep(false);
    running_ = false;
}

// The start of the run: the player stopped, the panel shown, the settings read
// and the output folder made ready.
bool BatchRun::Prepare(std::vector<std::uint64_t>& ids) {
    if (tools_.PlayerProcessId != 0) tools_.PostKeyToPlayer(kKeyQ);
    view_.ShowPanel(true);
    total_ = shownTotal_ = track_ = 0;
    converted_ = failed_ = mostAtOnce_ = 0;
    view_.SetTotalProgress(0);
    view_.SetBusy(true);
    const BatchSettings settings = LoadBatchSettings(appFolder_);
    outputFolder_ = AbsoluteOutputFolder(settings.outputFolder, appFolder_, HomeFolder());
    addNew_ = settings.addNew;
    threads_ = settings.threads;
    capacity_ = Capacity(settings.parallel, static_cast<int>(std::thread::hardware_concurrency()));
    weighted_ = settings.parallel == 0; // a chosen number is kept as it is
    load_.Reset();
    if (const auto reason = EnsureFolder(outputFolder_)) {
        EndEarly();
        view_.ShowMessage(BatchMessage::OutputFolder,
                          "The output folder " + outputFolder_ + " cannot be created: " + *reason);
        return false;
    }
    view_.PreventSleep(true);
    log_.Open();
    rowCount_ = rows_.Count();
    expectedAll_ = expectedDone_ = 0;
    for (int row = 0; row < rowCount_; ++row) {
        ids.push_back(rows_.Row(row).id);
        const auto start = ReadTimeOfDay(rows_.At(row, kStart));
        const auto end = ReadTimeOfDay(rows_.At(row, kEnd));
        expectedAll_ += (start && end && *end > *start) ? *end - *start : 0;
    }
    next_ = 0;
    stopStarting_ = false;
    missingSource_.clear();
    claimed_.clear();
    jobs_.clear();
    started_ = Clock::now();
    lineShown_ = {};
    view_.StartClock();
    return true;
}

// Starts rows while there is room and waits for the encoders, serving the window.
BatchRun::End BatchRun::Loop(const std::vector<std::uint64_t>& ids) {
    while (true) {
        StartRows(ids);
        if (jobs_.empty()) break;
        // The window is served until an encoder ends (its slot is refilled at once),
        // the user cancels, or it is time to move the bars.
        view_.Wait(wake_.Descriptor(), std::chrono::milliseconds(kRefreshMilliseconds));
        wake_.Take();
        if (abandoned_) return End::Abandoned;
        if (CancelRequested) {
            Cancel();
            return abandoned_ ? End::Abandoned : End::Stopped;
        }
        for (std::size_t i = 0; i < jobs_.size();) {
            const auto code =
                ToolRegistry::Instance().WaitForExit(jobs_[i]->pid, std::chrono::milliseconds(0));
            if (!code) {
                ++i;
                continue;
            }
            FinishRow(*jobs_[i], *code);
            jobs_.erase(jobs_.begin() + static_cast<long>(i));
        }
        UpdateProgress();
    }
    if (!missingSource_.empty()) { // after the rows that were running have ended
        view_.ShowMessage(BatchMessage::InvalidInput, "Invalid input file name. " + missingSource_);
        if (abandoned_) return End::Abandoned;
        EndEarly();
        return End::Stopped;
    }
    return End::Done;
}

void BatchRun::StartRows(const std::vector<std::uint64_t>& ids) {
    if (weighted_) load_.Sample(); // once per wake, at least every kRefreshMilliseconds
    while (!stopStarting_ && next_ < ids.size() && !abandoned_) {
        if (!StartRow(ids[next_])) return; // no room yet
        ++next_;
    }
}

// Automatic: an encoder that spreads over cores takes two of them.
int BatchRun::WeightOf(const EncoderJob& job) const {
    return (weighted_ && (job.spreadsOverCores || threads_ > 1)) ? 2 : 1;
}

int BatchRun::UsedWeight() const {
    int used = 0;
    for (const auto& running : jobs_)
        used += running->weight;
    return used;
}

bool BatchRun::Fits(const EncoderJob& job) const {
    if (weighted_) {
        const auto copying = std::count_if(jobs_.begin(), jobs_.end(),
                                           [](const auto& j) { return j->encoder.light; });
        const auto encoding = static_cast<long>(jobs_.size()) - copying;
        return load_.MayStart(job.light, static_cast<int>(encoding), static_cast<int>(copying));
    }
    return jobs_.empty() || UsedWeight() + WeightOf(job) <= capacity_;
}

// Starts the row's encoder; false when the row must wait for room. The options
// are read from the sheet when the row starts, so a change made during the
// batch applies to the rows not yet started.
bool BatchRun::StartRow(std::uint64_t id) {
    const int row = rows_.RowOf(id);
    if (row < 0) return true; // removed meanwhile
    // Full: no row can start, so its options are not read yet. (Automatic: whether
    // a row fits depends on what it is; Fits decides once it is prepared.)
    if (!weighted_ && !jobs_.empty() && UsedWeight() >= capacity_) return false;
    const std::string source = rows_.At(row, kFileName);
    std::error_code error;
    if (!fs::is_regular_file(source, error)) {
        stopStarting_ = true;
        missingSource_ = source;
        return true;
    }
    auto options = ReadConversionOptions(sheet_);
    JobRequest request;
    request.position = view_.SelectedPosition();
    request.displayText = view_.SelectedText();
    request.sourcePath = source;
    request.appFolder = appFolder_;
    request.outputFolder = outputFolder_;
    request.addNew = addNew_;
    request.threads = threads_;
    request.fileSeconds = ReadTimeOfDay(rows_.At(row, kVideoTime)).value_or(-1);
    request.claimed = capacity_ > 1 ? &claimed_ : nullptr;
    request.streams = {rows_.At(row, kFormat), rows_.Row(row).audioFormat};
    if (options) {
        request.options = *options;
        request.options.ClipStart = rows_.At(row, kStart);
        request.options.ClipEnd = rows_.At(row, kEnd);
    }
    const auto prepared =
        options ? PrepareConversion(request) : Result<EncoderJob>::Fail(CommandError::NoExtension);
    if (!prepared.ok()) {
        FailRow(id, Describe(prepared.error));
        return true;
    }
    if (!Fits(*prepared.value)) return false;

    auto job = std::make_unique<Job>();
    job->row = row;
    job->id = id;
    job->encoder = *prepared.value;
    job->weight = WeightOf(job->encoder);
    job->outputExisted = fs::exists(job->encoder.outputPath, error);
    view_.SetFileCaption("Progress...." + source + " To " + job->encoder.outputPath);
    rows_.Set(id, kStatus, "Processing");
    rows_.SetNote(id, job->encoder.note);

    lastCommandLine_ = job->encoder.commandLine;
    log_.Started(row, source, lastCommandLine_);
    job->pid = ToolRegistry::Instance().Start(lastCommandLine_, appFolder_, job->output.WriteEnd());
    job->output.StartReading(job->pid);
    job->startedAt = Clock::now();
    if (job->pid <= 0) {
        FailRow(id, "the encoder tool could not be started");
        return true;
    }
    tools_.EncoderProcessId = job->pid;
    if (weighted_ && !job->encoder.light) load_.RowStarted();
    claimed_.insert(job->encoder.outputPath);
    track_ = 10; // the bar shows the row that started last
    view_.SetTrackProgress(track_);
    jobs_.push_back(std::move(job));
    mostAtOnce_ = std::max(mostAtOnce_, static_cast<int>(jobs_.size()));
    return true;
}

void BatchRun::FailRow(std::uint64_t id, const std::string& reason) {
    rows_.Set(id, kStatus, "Fail");
    rows_.SetNote(id, reason);
    ++failed_;
    log_.Ended(rows_.RowOf(id), "Fail", reason, {});
}

void BatchRun::FinishRow(Job& job, int exitCode) {
    job.output.WaitForEnd(500); // the encoder has ended: its last lines are on their way
    const std::vector<std::string> lastLines = job.output.LastLines();
    const EncoderOutput::Snapshot latest = job.output.Latest();
    expectedDone_ += job.encoder.expectedSeconds;
    if (job.pid == tools_.EncoderProcessId) view_.SetTrackProgress(track_ = 100);
    // The encoder's exit status decides: a failed or killed encoder is no success,
    // and what it wrote of a new file is no output.
    if (exitCode != 0) {
        std::string reason = FailureReason(lastLines);
        if (reason.empty()) reason = "the encoder ended with code " + std::to_string(exitCode);
        std::error_code error;
        if (!job.outputExisted) fs::remove(job.encoder.outputPath, error);
        rows_.Set(job.id, kStatus, "Fail");
        rows_.SetNote(job.id, reason);
        ++failed_;
        log_.Ended(job.row, "Fail (exit code " + std::to_string(exitCode) + ")", reason, lastLines);
        return;
    }
    std::string note;
    const double expected = job.encoder.expectedSeconds;
    if (latest.reported && expected > 0 && latest.encodedSeconds < expected - 1) {
        char text[160];
        std::snprintf(text, sizeof text, "%.1f s of %.1f s converted: the source ends early",
                      latest.encodedSeconds, expected);
        note = text;
    }
    rows_.Set(job.id, kStatus, "OK");
    rows_.SetNote(job.id, note.empty() ? job.encoder.note : note);
    ++converted_;
    log_.Ended(job.row, "OK", note, lastLines);
    total_ = static_cast<int>(std::nearbyint(total_ + 100.0 / rows_.Count()));
}
} // namespace vx
