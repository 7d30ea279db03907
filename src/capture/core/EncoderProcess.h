#pragma once
// One running encoder of a capture session, started by argument list, with
// three pipes: its standard input (the console that takes "q"), its standard
// output (the raw preview pictures) and its standard error (the progress
// report). One thread of its own reads both outputs all the time, so the
// encoder never waits for the window, and reaps the process when it ends.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vx {

class EncoderProcess {
  public:
    // Called on the encoder's thread, never at the same time.
    struct Events {
        // A complete picture; the receiver may swap the buffer for one of the same size.
        std::function<void(std::vector<std::uint8_t>& picture)> picture;
        std::function<void(std::string_view bytes)> report; // standard error
        std::function<void(int exitCode)> ended;            // the last call
    };

    // Starts the encoder; nothing when it cannot be started.
    static std::shared_ptr<EncoderProcess> Start(const std::vector<std::string>& arguments,
                                                 std::size_t pictureBytes, Events events);
    ~EncoderProcess();

    pid_t Pid() const { return pid_; }
    // Asks the encoder to finish ("q"): it closes its files and exits. One that
    // has not ended 5 s later is terminated, and killed 5 s after that.
    void Stop();
    // Ends the encoder at once (for sessions without a file to finish).
    void Kill();

  private:
    EncoderProcess() = default;
    void Run();
    void Signal(int signal);
    void ReadPictures();
    bool ReadReport();

    pid_t pid_ = -1;
    int console_ = -1;
    int pictures_ = -1;
    int report_ = -1;
    std::size_t pictureBytes_ = 0;
    std::vector<std::uint8_t> picture_;
    std::size_t filled_ = 0;
    Events events_;
    std::mutex mutex_;    // guards the console and signalling against the reaping
    bool exited_ = false; // the process has ended (its id is not reused before the reaping)
    std::atomic<std::int64_t> stopAsked_{0}; // steady-clock milliseconds; 0: not asked
};

} // namespace vx
