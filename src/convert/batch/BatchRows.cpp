// One row of a batch: prepared from the sheet and the list, its encoder started,
// its end read and shown.
#include "BatchRun.h"

#include "BatchJob.h"

#include "JoinCommand.h"
#include "OutputFolder.h"
#include "SheetLayout.h"
#include "TimeText.h"
#include "Tools.h"
#include "UserFolders.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vx {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kNothingConverted =
    "Nothing of this file was converted: the clip starts at or after its end. Set a start "
    "within the file.";

// The encoder ended well but wrote (next to) nothing of a clip of a second or more.
bool NothingConverted(const EncoderOutput::Snapshot& latest, double expectedSeconds) {
    return latest.reported && expectedSeconds >= 1 && latest.encodedSeconds < 0.5;
}

// The files a join reads beside its parts, in a folder of our own; empty when
// made, else why not.
std::string MakeWorkFolder(const EncoderJob& job) {
    if (job.workFolder.empty()) return {};
    std::error_code error;
    fs::remove_all(job.workFolder, error); // ours: left by an earlier run of this row
    if (!fs::create_directories(job.workFolder, error)) return error.message();
    for (const auto& [name, text] : job.workFiles) {
        std::ofstream out(job.workFolder + "/" + name, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) return "cannot write " + name;
    }
    for (const auto& [name, target] : job.workLinks) {
        fs::create_symlink(target, job.workFolder + "/" + name, error);
        if (error) return error.message();
    }
    return {};
}

void RemoveWorkFolder(const EncoderJob& job) {
    std::error_code error;
    if (!job.workFolder.empty()) fs::remove_all(job.workFolder, error);
}

// The first part of a joined row that is not a regular file; empty when all are.
std::string MissingPart(const SourceItem& item) {
    std::error_code error;
    if (!item.Joined())
        return fs::is_regular_file(item.columns[kFileName], error) ? "" : item.columns[kFileName];
    for (const SourceItem& part : item.parts)
        if (!fs::is_regular_file(part.columns[kFileName], error)) return part.columns[kFileName];
    return {};
}

std::string UnreadablePart(const SourceItem& item) {
    if (!item.unreadable.empty()) return item.unreadable;
    for (const SourceItem& part : item.parts)
        if (!part.unreadable.empty()) return part.columns[kFileName] + ": " + part.unreadable;
    return {};
}

// One file's conversion. A clip that does not end after its start converts
// nothing (the encoder would be told a duration of 0 or less); the whole of a
// file shorter than a second is no such clip.
Result<EncoderJob> PrepareSingle(const JobRequest& request) {
    auto job = PrepareConversion(request);
    const auto start = ReadTimeOfDay(request.options.ClipStart);
    const auto end = ReadTimeOfDay(request.options.ClipEnd);
    const bool wholeFile =
        start == 0 && end && request.fileSeconds >= 0 && *end >= request.fileSeconds;
    if (job.ok() && start && end && *end <= *start && !wholeFile)
        return Result<EncoderJob>::Fail(CommandError::EmptyClip);
    return job;
}

} // namespace

// Starts the row's encoder; false when the row must wait for room. The options
// are read from the sheet when the row starts, so a change made during the
// batch applies to the rows not yet started.
bool BatchRun::StartRow(std::uint64_t id) {
    const int row = rows_.RowOf(id);
    if (row < 0) return true; // removed meanwhile
    // Full: no row can start, so its options are not read yet. (Automatic: whether
    // a row fits depends on what it is; Fits decides once it is prepared.)
    if (!weighted_ && jobs_.size() >= static_cast<std::size_t>(capacity_)) return false;
    const std::string source = rows_.At(row, kFileName);
    std::error_code error;
    if (const std::string missing = MissingPart(rows_.Row(row)); !missing.empty()) {
        stopStarting_ = true;
        missingSource_ = missing;
        return true;
    }
    if (const std::string unreadable = UnreadablePart(rows_.Row(row)); !unreadable.empty()) {
        FailRow(id, unreadable); // marked when it was added
        return true;
    }
    const auto prepared = PrepareRow(row, capacity_ > 1);
    if (!prepared.ok()) {
        FailRow(id, Describe(prepared.error));
        return true;
    }
    if (!Fits(*prepared.value)) return false;
    // A kept folder is made when its first file starts.
    const std::string folder = fs::path(prepared.value->outputPath).parent_path().string();
    if (const auto reason = EnsureFolder(folder)) {
        FailRow(id, "The output folder " + folder + " cannot be created: " + *reason);
        return true;
    }

    auto job = std::make_unique<Job>();
    job->row = row;
    job->id = id;
    job->encoder = *prepared.value;
    job->outputExisted = fs::exists(job->encoder.outputPath, error);
    // The encoder writes a file of ours beside the final name, never the final name.
    std::string why;
    const auto working = CreateWorkingFile(job->encoder.outputPath, &why);
    if (!working) {
        FailRow(id, "The output file could not be written in " + outputFolder_ + " (" + why +
                        "): check that the output folder may be written to.");
        return true;
    }
    job->working = *working;
    // A row that fails before its encoder runs leaves nothing of ours behind.
    const auto abandon = [&](const std::string& reason) {
        RemoveWorkFolder(job->encoder);
        RemoveIfSame(job->working.path, job->working.identity);
        FailRow(id, reason);
        return true;
    };
    const auto command = CommandWritingTo(job->encoder, working->path);
    if (!command) return abandon("The conversion could not be prepared.");
    if (const std::string listWhy = MakeWorkFolder(job->encoder); !listWhy.empty())
        return abandon("The list of the parts could not be written: " + listWhy + ".");
    const std::string shown = rows_.Row(row).Joined() ? JoinedName(rows_.Row(row)) : source;
    view_.SetFileCaption("Progress...." + shown + " To " + job->encoder.outputPath);
    view_.RowStarted(id, job->encoder.outputPath, job->outputExisted);
    view_.RowWriting(id, job->working, outputFolder_);
    rows_.Set(id, kStatus, "Processing");
    rows_.SetNote(id, job->encoder.note);

    lastCommandLine_ = *command;
    log_.Started(row, source, lastCommandLine_);
    job->pid = ToolRegistry::Instance().Start(lastCommandLine_, appFolder_, job->output.WriteEnd(),
                                              ToolRegistry::kKeep);
    job->output.StartReading(job->pid);
    job->startedAt = Clock::now();
    if (job->pid <= 0) return abandon("The encoder tool could not be started: reinstall Vantorix.");
    tools_.EncoderProcessId = job->pid;
    if (weighted_ && !job->encoder.light) load_.RowStarted();
    claimed_.insert(job->encoder.outputPath);
    claimed_.insert(job->working.path); // no other row's output takes its name meanwhile
    track_ = 10;                        // the bar shows the row that started last
    view_.SetTrackProgress(track_);
    jobs_.push_back(std::move(job));
    mostAtOnce_ = std::max(mostAtOnce_, static_cast<int>(jobs_.size()));
    return true;
}

// The row's conversion as it would start now: the sheet's options and the
// selected entry, the row's clip, the batch's settings.
Result<EncoderJob> BatchRun::PrepareRow(int row, bool claim) const {
    const auto options = ReadConversionOptions(sheet_);
    if (!options) return Result<EncoderJob>::Fail(CommandError::NoExtension);
    JobRequest request;
    request.position = view_.SelectedPosition();
    request.displayText = view_.SelectedText();
    request.sourcePath = rows_.At(row, kFileName);
    request.appFolder = appFolder_;
    request.outputFolder =
        RowOutputFolder(outputFolder_, rows_.Row(row).root, request.sourcePath, keepFolders_);
    request.addNew = addNew_;
    request.threads = threads_;
    request.fileSeconds = ReadTimeOfDay(rows_.At(row, kVideoTime)).value_or(-1);
    request.sourceSize = ReadFrameSize(rows_.At(row, kSize)).value_or(FrameSize{});
    request.soundOnly = rows_.At(row, kSize) == kSoundOnly;
    request.streams = {rows_.At(row, kFormat), rows_.Row(row).audioFormat};
    request.claimed = claim ? &claimed_ : nullptr;
    request.options = *options;
    request.options.ClipStart = rows_.At(row, kStart);
    request.options.ClipEnd = rows_.At(row, kEnd);
    const SourceItem& item = rows_.Row(row);
    if (!item.Joined()) return PrepareSingle(request);
    std::vector<JoinPart> parts;
    for (const SourceItem& part : item.parts) {
        const auto& c = part.columns;
        parts.push_back({c[kFileName], c[kStart], c[kEnd],
                         static_cast<double>(ReadTimeOfDay(c[kVideoTime]).value_or(-1)),
                         ReadFrameSize(c[kSize]).value_or(FrameSize{}), c[kSize] == kSoundOnly,
                         StreamFormats{c[kFormat], part.audioFormat}, FlvSoundRate(c[kFileName])});
    }
    return PrepareJoin(request, parts,
                       StateHome() + "/vantorix/join-" + std::to_string(getpid()) + "-" +
                           std::to_string(item.id));
}

std::vector<Result<EncoderJob>> BatchRun::Plan() {
    TakeSettings();
    claimed_.clear();
    std::vector<Result<EncoderJob>> plan;
    for (int row = 0; row < rows_.Count(); ++row) {
        plan.push_back(PrepareRow(row, true)); // the lines may all run at once
        if (plan.back().ok()) claimed_.insert(plan.back().value->outputPath);
    }
    claimed_.clear();
    return plan;
}

void BatchRun::FailRow(std::uint64_t id, const std::string& reason) {
    rows_.Set(id, kStatus, "Fail");
    rows_.SetNote(id, reason);
    ++failed_;
    log_.Ended(rows_.RowOf(id), "Fail", reason, {});
    view_.RowEnded(id);
}

void BatchRun::FinishRow(Job& job, int exitCode) {
    job.output.WaitForEnd(500); // the encoder has ended: its last lines are on their way
    RemoveWorkFolder(job.encoder);
    const std::vector<std::string> lastLines = job.output.LastLines();
    const EncoderOutput::Snapshot latest = job.output.Latest();
    expectedDone_ += job.encoder.expectedSeconds;
    if (job.pid == tools_.EncoderProcessId) view_.SetTrackProgress(track_ = 100);
    // The encoder's exit status decides: a failed or killed encoder is no success,
    // and what it wrote of a new file is no output. Neither is a file it closed
    // without converting anything (a clip that starts at the source's end).
    const bool nothing = exitCode == 0 && NothingConverted(latest, job.encoder.expectedSeconds);
    if (exitCode != 0 || nothing) {
        std::string reason = nothing ? kNothingConverted : FailureReason(lastLines);
        if (reason.empty()) reason = "the encoder ended with code " + std::to_string(exitCode);
        FailRunningRow(job, "Fail (exit code " + std::to_string(exitCode) + ")", reason, lastLines);
        return;
    }
    // Whole: it takes the final name in one step, replacing an earlier file only now.
    if (const auto refused = PromoteWorkingFile(job.working, job.encoder.outputPath)) {
        FailRunningRow(job, "Fail",
                       "The converted file could not be named " + job.encoder.outputPath + ": " +
                           *refused + ".",
                       lastLines);
        return;
    }
    const double expected = job.encoder.expectedSeconds;
    if (const auto shortNote = ShortfallNote(latest, expected, job.encoder.startSeconds)) {
        // What the encoder wrote is all the file holds: the output stays.
        rows_.Set(job.id, kStatus, kShortStatus);
        rows_.SetNote(job.id, *shortNote);
        ++short_;
        log_.Ended(job.row, kShortStatus, *shortNote, lastLines);
    } else {
        rows_.Set(job.id, kStatus, "OK");
        rows_.SetNote(job.id, job.encoder.note);
        ++converted_;
        log_.Ended(job.row, "OK", {}, lastLines);
    }
    view_.RowEnded(job.id);
    // A whole batch shares the bar among the rows the list holds now; one of
    // chosen rows among those rows.
    const int share = redoing_ ? rowCount_ : rows_.Count();
    total_ = static_cast<int>(std::nearbyint(total_ + 100.0 / std::max(1, share)));
}

// The row failed while its encoder ran: what it wrote goes, the final name stays
// as it was.
void BatchRun::FailRunningRow(Job& job, const std::string& status, const std::string& reason,
                              const std::vector<std::string>& lastLines) {
    RemoveIfSame(job.working.path, job.working.identity);
    rows_.Set(job.id, kStatus, "Fail");
    rows_.SetNote(job.id, reason);
    ++failed_;
    log_.Ended(job.row, status, reason, lastLines);
    view_.RowEnded(job.id);
}

// A row whose encoder wrote less than the row expected (more than 2 % and more
// than a second short): the file ends early, as a cut download does.
std::optional<std::string> ShortfallNote(const EncoderOutput::Snapshot& latest, double expected,
                                         double start) {
    if (!latest.reported || expected <= 0) return std::nullopt;
    const double missing = expected - latest.encodedSeconds;
    if (missing <= 1 || missing <= expected * 0.02) return std::nullopt;
    return "The file ends at " + MinutesText(start + std::max(0.0, latest.encodedSeconds)) +
           " of " + MinutesText(start + expected) + ": it may be an incomplete download.";
}

std::string MinutesText(double seconds) {
    const auto whole = static_cast<long long>(seconds);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

} // namespace vx
