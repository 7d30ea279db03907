#pragma once
// The codec names of the option sheet mapped to the encoder's.

#include <string>

namespace vx {

// Exact, case-sensitive match on the whole text; any other text passes unchanged.
std::string EncoderVideoCodec(const std::string& videoCodec);
std::string EncoderAudioCodec(const std::string& audioCodec);
// Whether the name is one of the map's (and so may stand for several arguments).
bool IsMappedVideoCodec(const std::string& videoCodec);
bool IsMappedAudioCodec(const std::string& audioCodec);

} // namespace vx
