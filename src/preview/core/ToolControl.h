#pragma once
// Starting the player tool into a window of ours and steering both tools by
// keys written to their consoles.

#include "Tools.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vx {

// The option text of every preview launch line, blanks included.
inline constexpr const char* kPlayerOptions =
    " -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   "
    "-autosync   100   -vo gl2  -vf   screenshot ";

// The keys the program sends, by virtual-key code.
enum VirtualKey : int { kKeyLeft = 0x25, kKeyRight = 0x27, kKeySpace = 0x20, kKeyQ = 0x51 };

// The bytes a key is written as on a tool's console; empty for any other code.
std::string KeyBytes(int virtualKey);

// The player's launch line: the quoted tool path, an optional " -ss " start,
// " -wid " with the window handle as sign-reserving text, the options, the quoted file.
std::string PlayerLaunchLine(const std::string& appFolder, std::uint64_t windowHandle,
                             const std::string& file, std::optional<int> startSeconds);

class ToolControl {
  public:
    std::int32_t PlayerProcessId = 0;  // the player started last; never set back to 0
    std::int32_t EncoderProcessId = 0; // the encoder the batch started last
    ToolRegistry::ToolRef ToolWindow;  // the tool the last successful search found
    std::string PlayerCommandLine;     // the launch line of the player started last

    // Starts the player into the window; false when it could not start (the
    // process id then keeps its previous value).
    bool LaunchPlayer(const std::string& appFolder, std::uint64_t windowHandle,
                      const std::string& file, std::optional<int> startSeconds);

    // Finds the running tool with that process id whose command line holds the
    // fragment and remembers it in ToolWindow; a search that finds nothing
    // leaves ToolWindow as it was.
    ToolRegistry::ToolRef FindToolWindow(std::int32_t processId, const std::string& fragment);

    // Post a key to the player or the encoder. When the search finds no such
    // tool the key is not posted at all. True when the key was written.
    bool PostKeyToPlayer(int virtualKey);
    bool PostKeyToEncoder(int virtualKey);

  private:
    bool PostKey(std::int32_t processId, const char* fragment, int virtualKey);
};

// The one instance the windows share.
ToolControl& SharedToolControl();

} // namespace vx
