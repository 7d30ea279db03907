#pragma once
// The transport of a preview and the position it shows: Play, Pause, Stop,
// Back, Forward, First Frame, Last Frames, the seek slider and the one-second
// position timer. It steers the player through a PlayerPort and keeps what the
// window shows (slider, position label, total label, whether the timer runs);
// the widget only carries that out. The main window and the trimming window
// each have one, over the same two counters.

#include "PlayerPort.h"

#include <optional>
#include <string>

namespace vx {

// The position shown and the file's length, in seconds, shared by every preview.
struct PreviewCounters {
    int PlaybackSeconds = 0;
    int TotalSeconds = 0;
};
PreviewCounters& SharedPreviewCounters();

// What the preview shows.
struct PreviewView {
    int slider = 0;                                 // 0 to 100, a percentage of the length
    std::string currentTime = "0:00:00";            // LblCurTime
    std::string totalLabel = "Total time: 0:00:00"; // SkinLabel10
    bool timerOn = false;                           // Timer1
    int launches = 0; // players this preview started, so that each new one is watched
};

// The file to play: a row's path and its "Video Time" text.
struct PlayItem {
    std::string file;
    std::string videoTime;
};

class PreviewTransport {
  public:
    PreviewTransport(PlayerPort& player, PreviewCounters& counters);

    // Play. With an empty list nothing happens; with no item (no row selected)
    // the file played last is played again with the length known before.
    void Play(bool listEmpty, const std::optional<PlayItem>& item);
    // Pause and resume; nothing when no player runs.
    void Pause();
    void Stop();
    // The player jumps 10 s; the position shown follows it.
    void Back();
    void Forward();
    void FirstFrame();
    void LastFrames();
    // The seek slider let go at a value, 0 to 100.
    void SeekRelease(int sliderValue);
    // The position timer's tick.
    void Tick();
    // The player is stopped for good (a trimming window opens, a batch starts):
    // Q when a player was started, and the timer stops.
    void Halt();
    // Leaving the program: Q, and the timer stops.
    void Exit();

    // Takes the position the player reported last into the counter and the
    // view, without counting on (after a pause, before taking the position).
    void Refresh();

    // The position the player shows now, to the nearest whole second: what it
    // reported last while it runs, otherwise the counter.
    int ShownSeconds() const;

    const PreviewView& View() const { return view_; }
    const PreviewCounters& Counters() const { return counters_; }
    // The file this preview plays (PreviewFile); a click on a row sets it too.
    std::string File;

  private:
    void Restart(std::optional<int> startSeconds);
    void Launch(std::optional<int> startSeconds);
    void Jump(int virtualKey, int seconds);
    void ShowPosition(); // slider and label from the counter

    PlayerPort& player_;
    PreviewCounters& counters_;
    PreviewView view_;
};

} // namespace vx
