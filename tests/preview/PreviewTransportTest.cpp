// The preview's position state and transport, over a recorded player.
#include "PreviewTransport.h"
#include "ClipTimes.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

// Records what the transport asks of the player; "running" follows Launch and Q.
class FakePlayer : public PlayerPort {
  public:
    std::vector<std::string> calls;
    bool started = false;
    bool running = false;
    std::optional<double> position;

    bool Launch(const std::string& file, std::optional<int> start) override {
        calls.push_back("launch " + file + (start ? " -ss " + std::to_string(*start) : ""));
        started = running = true;
        position.reset();
        return true;
    }
    bool PostKey(int key) override {
        if (!running) return false;
        calls.push_back(key == kKeyQ       ? "Q"
                        : key == kKeySpace ? "Space"
                        : key == kKeyLeft  ? "Left"
                                           : "Right");
        if (key == kKeyQ) running = false;
        return true;
    }
    bool Started() const override { return started; }
    bool Running() const override { return running; }
    std::optional<double> ReportedPosition() const override {
        return running ? position : std::nullopt;
    }
};

class Transport : public ::testing::Test {
  protected:
    FakePlayer player;
    PreviewCounters counters;
    PreviewTransport transport{player, counters};
    const PreviewView& view = transport.View();

    void Play(const std::string& videoTime = "0:01:40") {
        transport.Play(false, PlayItem{"/m/a.flv", videoTime});
    }
};

} // namespace

TEST_F(Transport, PlayStartsTheSelectedRowAndCountsFromZero) {
    transport.Play(true, PlayItem{"/m/a.flv", "0:00:10"}); // empty list: nothing, not even Q
    EXPECT_TRUE(player.calls.empty());
    EXPECT_FALSE(view.timerOn);
    EXPECT_EQ(view.currentTime, "0:00:00");
    EXPECT_EQ(view.totalLabel, "Total time: 0:00:00");

    Play();
    EXPECT_EQ(player.calls, std::vector<std::string>{"launch /m/a.flv"});
    EXPECT_EQ(view.totalLabel, "Total time:0:01:40");
    EXPECT_EQ(counters.TotalSeconds, 100);
    EXPECT_TRUE(view.timerOn);
    for (int i = 0; i < 5; ++i)
        transport.Tick();
    EXPECT_EQ(counters.PlaybackSeconds, 5);
    EXPECT_EQ(view.slider, 5);
    EXPECT_EQ(view.currentTime, "0:00:05");

    // No row selected: the previous file again, with the length known before.
    transport.Play(false, std::nullopt);
    EXPECT_EQ(player.calls.back(), "launch /m/a.flv");
    EXPECT_EQ(player.calls[1], "Q");
    EXPECT_EQ(counters.TotalSeconds, 100);
    EXPECT_EQ(counters.PlaybackSeconds, 0);
    EXPECT_EQ(view.totalLabel, "Total time:0:01:40");

    // A "Video Time" that does not read keeps the length.
    transport.Play(false, PlayItem{"/m/b.flv", ""});
    EXPECT_EQ(player.calls.back(), "launch /m/b.flv");
    EXPECT_EQ(counters.TotalSeconds, 100);
    EXPECT_EQ(view.totalLabel, "Total time:");
}

TEST_F(Transport, TheTimerStopsAtTheEndAndAZeroLengthLeavesTheSliderAlone) {
    Play("0:00:02");
    transport.Tick();
    EXPECT_TRUE(view.timerOn);
    transport.Tick();
    EXPECT_FALSE(view.timerOn);
    EXPECT_EQ(view.slider, 100);

    Play("0:00:00");
    transport.Tick();
    EXPECT_FALSE(view.timerOn);
    EXPECT_EQ(view.slider, 100); // the division fails: the slider stays
    EXPECT_EQ(view.currentTime, "0:00:01");
}

TEST_F(Transport, SeekRestartsAtTheTargetOrStopsAtTheEnd) {
    Play("0:00:09");
    transport.SeekRelease(50); // 4.5 s: halves to even
    EXPECT_EQ(player.calls.back(), "launch /m/a.flv -ss 4");
    EXPECT_EQ(player.calls[player.calls.size() - 2], "Q");
    EXPECT_EQ(counters.PlaybackSeconds, 4);
    EXPECT_EQ(view.currentTime, "0:00:04");
    EXPECT_TRUE(view.timerOn);

    transport.Stop();
    EXPECT_EQ(view.currentTime, "");
    transport.SeekRelease(0); // a stopped preview restarts playing, the counter stays still
    EXPECT_EQ(player.calls.back(), "launch /m/a.flv -ss 0");
    EXPECT_EQ(view.currentTime, "0:00:00");
    EXPECT_FALSE(view.timerOn);

    const auto launches = player.calls.size();
    Play("0:00:09");
    transport.SeekRelease(100);
    EXPECT_EQ(player.calls.size(), launches + 2); // Q and the Play's launch only
    EXPECT_FALSE(view.timerOn);
    EXPECT_EQ(view.currentTime, "0:00:09");
}

TEST_F(Transport, FirstAndLastFramesRestartThePlayer) {
    Play("0:00:30");
    transport.LastFrames();
    EXPECT_EQ(player.calls.back(), "launch /m/a.flv -ss 30");
    EXPECT_EQ(counters.PlaybackSeconds, 30);
    transport.Tick();
    EXPECT_EQ(view.currentTime, "0:00:31"); // the length plus one, then the timer stops
    EXPECT_FALSE(view.timerOn);
    EXPECT_EQ(view.slider, 0); // 103 % is refused by the slider

    transport.FirstFrame();
    EXPECT_EQ(player.calls.back(), "launch /m/a.flv");
    EXPECT_EQ(counters.PlaybackSeconds, 0);
    EXPECT_TRUE(view.timerOn);
}

TEST_F(Transport, BackAndForwardMoveTheShownPositionWithThePlayer) {
    Play("0:00:30");
    transport.Forward();
    EXPECT_EQ(player.calls.back(), "Right");
    EXPECT_EQ(counters.PlaybackSeconds, 10);
    EXPECT_EQ(view.currentTime, "0:00:10");
    EXPECT_EQ(view.slider, 33);
    transport.Forward();
    transport.Forward(); // kept at the end
    EXPECT_EQ(counters.PlaybackSeconds, 30);
    transport.Back();
    EXPECT_EQ(player.calls.back(), "Left");
    EXPECT_EQ(counters.PlaybackSeconds, 20);
    transport.Back();
    transport.Back();
    transport.Back(); // kept at the start
    EXPECT_EQ(counters.PlaybackSeconds, 0);
    EXPECT_EQ(view.currentTime, "0:00:00");

    transport.Stop(); // no player: nothing moves
    transport.SeekRelease(50);
    player.running = false;
    transport.Forward();
    EXPECT_EQ(counters.PlaybackSeconds, 15);
}

TEST_F(Transport, PauseTogglesOnlyARunningPlayer) {
    transport.Pause(); // none started: no clock
    EXPECT_FALSE(view.timerOn);
    EXPECT_TRUE(player.calls.empty());
    Play();
    transport.Pause();
    EXPECT_EQ(player.calls.back(), "Space");
    EXPECT_FALSE(view.timerOn);
    transport.Pause();
    EXPECT_TRUE(view.timerOn);
    transport.Stop();
    transport.Pause(); // it has ended
    EXPECT_FALSE(view.timerOn);
    EXPECT_EQ(player.calls.back(), "Q");
}

TEST_F(Transport, HaltStopsPlayerAndTimerAndExitAlwaysSendsQ) {
    transport.Halt(); // never started: no key
    EXPECT_TRUE(player.calls.empty());
    Play();
    transport.Halt();
    EXPECT_EQ(player.calls.back(), "Q");
    EXPECT_FALSE(view.timerOn);
    Play();
    transport.Exit();
    EXPECT_EQ(player.calls.back(), "Q");
    EXPECT_FALSE(view.timerOn);
}

TEST_F(Transport, TheTimerTakesThePlayersOwnPositionToTheNearestSecond) {
    Play("0:01:00");
    transport.Tick();
    EXPECT_EQ(counters.PlaybackSeconds, 1); // nothing reported yet: counting
    player.position = 12.7;
    transport.Tick();
    EXPECT_EQ(counters.PlaybackSeconds, 13);
    EXPECT_EQ(view.currentTime, "0:00:13");
    EXPECT_EQ(transport.ShownSeconds(), 13);
    player.position = 59.4;
    transport.Tick();
    EXPECT_TRUE(view.timerOn);
    player.running = false; // it ended at the end of the file: counting reaches the end
    transport.Tick();
    EXPECT_FALSE(view.timerOn);
}

TEST_F(Transport, PositionsBeyond16BitsShowNoText) {
    Play("9:10:00"); // 33000 s
    transport.SeekRelease(99);
    EXPECT_EQ(counters.PlaybackSeconds, 32670);
    EXPECT_EQ(view.currentTime, "9:04:30");
    player.position = 32767.4;
    transport.Tick();
    EXPECT_EQ(view.currentTime, "9:06:07");
    player.position = 32768.2;
    transport.Tick();
    EXPECT_EQ(view.currentTime, "9:06:07"); // not shown beyond 32767
    EXPECT_EQ(view.slider, 99);
}

TEST(PlayPosition, ReadsThePlayersStatusLine) {
    EXPECT_EQ(PlayPositionOf("A:  12.3 V:  12.5 A-V: -0.013 ct:  0.040  301/301  4%"), 12.5);
    EXPECT_EQ(PlayPositionOf("V:   3.0   75/ 75  2%  0%  0.0% 0 0"), 3.0);
    EXPECT_EQ(PlayPositionOf("A:   7.4 (07.4) of 10.0 (10.0)  0.3%"), 7.4);
    EXPECT_FALSE(PlayPositionOf("  =====  PAUSE  ====="));
    EXPECT_FALSE(PlayPositionOf("Starting playback..."));
    EXPECT_FALSE(PlayPositionOf(""));
    const std::vector<std::string> paused{"V:   3.7   0/  0", "  =====  PAUSE  ====="};
    EXPECT_EQ(LatestPlayPosition(paused.back(), paused), 3.7);
}

TEST(ClipTimes, ComparesTimesNotCharacters) {
    EXPECT_TRUE(ClipPairValid("0:00:01", "0:00:03"));
    EXPECT_FALSE(ClipPairValid("0:00:03", "0:00:03"));
    EXPECT_FALSE(ClipPairValid("10:00:00", "2:00:00")); // before as text, after as time
    EXPECT_TRUE(ClipPairValid("2:00:00", "10:00:00"));
    EXPECT_TRUE(ClipPairValid("0:00:00", "100:00:00"));
    EXPECT_FALSE(ClipPairValid("abc", "0:00:03"));
    EXPECT_FALSE(ClipPairValid("0:00:01", ""));
    EXPECT_FALSE(ClipPairValid("0:61:00", "1:00:00"));
    EXPECT_EQ(ReadClipTime(" 1:02:03 "), 3723);
    EXPECT_EQ(ClipLengthText("0:00:02", "0:00:05"), "0:00:03");
    EXPECT_EQ(ClipLengthText("0:00:05", "0:00:02"), "-0:00:03");
    EXPECT_FALSE(ClipLengthText("0:00:00", "10:00:00")); // beyond 32767 s
    EXPECT_FALSE(ClipLengthText("x", "0:00:02"));
}
