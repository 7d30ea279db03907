#pragma once
// How the two launchers turn the arguments they are given into those of the
// system's tools.

#include <string>
#include <vector>

namespace vx {

// The video outputs that work on X11 and under Xvfb and fill the surface.
inline constexpr const char* kLinuxVideoOutputs = "xv,x11,gl,";

// For ffmpeg: "-y" first, so that an existing output is replaced without a prompt.
std::vector<std::string> EncoderArguments(const std::vector<std::string>& given);

// For mplayer: identify mode passes unchanged. For playback "-priority" and its
// value are dropped, and the video output "gl2" becomes outputs that exist on
// Linux, with "-zoom" so that the plain X11 output fills the surface too.
std::vector<std::string> PlayerArguments(const std::vector<std::string>& given);

} // namespace vx
