#include "WatchProgram.h"

#include "FolderWatch.h"
#include "WatchRecord.h"

#include <cerrno>
#include <poll.h>

namespace vx {

namespace {

bool Below(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    return path.compare(0, prefix.size(), prefix) == 0;
}

// A result worth remembering: the file was converted or cannot be. A cancelled
// row, or one never started, is tried again on the next run.
bool Final(const std::string& status) {
    return !status.empty() && status != "Cancel";
}

} // namespace

int RunWatch(const std::string& root, const std::string& outputFolder,
             const std::string& stateFolder, const ConvertFiles& convert, const ConvertIo& io) {
    WatchRecord record(stateFolder, root);
    auto say = [&](const std::string& line) {
        std::fprintf(io.err, "vantorix-convert: %s\n", line.c_str());
        std::fflush(io.err);
    };
    FolderWatch watch(root, say, [&](const std::string& file) {
        return Below(file, outputFolder) || record.Done(file);
    });
    if (!watch.Problem().empty()) {
        say(watch.Problem());
        return kExitUsage;
    }
    say("watching " + root + " (Ctrl+C ends)");
    for (;;) {
        const auto now = FolderWatch::Clock::now();
        watch.ReadEvents(now);
        const std::vector<std::string> ready = watch.Ready(now);
        if (!ready.empty()) {
            const WatchBatch batch = convert(ready);
            for (const auto& [file, result] : batch.results) {
                std::string why;
                if (Final(result) && !record.Add(file, result, &why)) say(why);
            }
            if (batch.interrupted) return kExitInterrupted;
            continue;
        }
        pollfd fds[2] = {{watch.Descriptor(), POLLIN, 0}, {io.interruptFd, POLLIN, 0}};
        const nfds_t count = io.interruptFd >= 0 ? 2 : 1;
        if (poll(fds, count, watch.MillisecondsToNext(now)) < 0 && errno != EINTR) {
            say("the watch stopped: cannot wait for events");
            return kExitFailed;
        }
        if (count == 2 && (fds[1].revents & POLLIN) && TakeInterrupt(io)) return kExitInterrupted;
    }
}

} // namespace vx
