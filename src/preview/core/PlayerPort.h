#pragma once
// The player as the preview sees it: launch it into the preview's surface,
// post a key to it, and ask where it is.

#include "ToolControl.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The play position in a status line of the player ("A:  12.3 V:  12.3 ..." or
// "V:  12.3 ..." without sound), preferring the picture's; nothing for other lines.
std::optional<double> PlayPositionOf(std::string_view statusLine);

// The latest position the player reported: its status line, or, while that is
// a message such as "=====  PAUSE  =====" (ended by a return and a line feed),
// the last status line it pushed into its plain lines before the message.
std::optional<double> LatestPlayPosition(std::string_view statusLine,
                                         const std::vector<std::string>& plainLines);

// The size the player shows the picture at, from its video output line
// ("VO: [x11] 320x240 => 384x240 Planar YV12"): the size after "=>", which
// carries the picture's own proportions.
struct PictureSize {
    int width = 0;
    int height = 0;
};
std::optional<PictureSize> PictureSizeOf(std::string_view line);

class PlayerPort {
  public:
    virtual ~PlayerPort() = default;
    // Starts a player with the file, from the start position when given; false when it could not.
    virtual bool Launch(const std::string& file, std::optional<int> startSeconds) = 0;
    // Posts a key to the player started last; false when none runs.
    virtual bool PostKey(int virtualKey) = 0;
    // A player has been started in this run (it may have ended since).
    virtual bool Started() const = 0;
    // The player started last is still running.
    virtual bool Running() const = 0;
    // The position the running player last reported, or nothing.
    virtual std::optional<double> ReportedPosition() const = 0;
    // The picture size the running player reported, or nothing (yet).
    virtual std::optional<PictureSize> ReportedPictureSize() const { return std::nullopt; }
};

// The real player, through the shared tool control, drawing into the window
// that the handle function names.
class ToolPlayerPort : public PlayerPort {
  public:
    ToolPlayerPort(ToolControl& tools, std::string appFolder,
                   std::function<std::uint64_t()> windowHandle);
    bool Launch(const std::string& file, std::optional<int> startSeconds) override;
    bool PostKey(int virtualKey) override;
    bool Started() const override;
    bool Running() const override;
    std::optional<double> ReportedPosition() const override;
    std::optional<PictureSize> ReportedPictureSize() const override;

  private:
    ToolControl& tools_;
    std::string appFolder_;
    std::function<std::uint64_t()> windowHandle_;
};

} // namespace vx
