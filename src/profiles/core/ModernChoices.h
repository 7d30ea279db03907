#pragma once
// The option values of the entries after the first 92, as the sheet shows them
// and the command reads them.

namespace vx::modern {

// Every item of an entry that copies the streams: nothing in the sheet changes them.
inline constexpr const char* kKept = "Kept as it is";
// Frame size and rate of a re-encoding entry: those of the source.
inline constexpr const char* kSameAsSource = "Same as source";

// "Video Size" of a re-encoding entry: the source's, or at most this many
// lines high, keeping the picture's proportions, never enlarged.
inline constexpr const char* kSizes[] = {kSameAsSource, "1080p", "720p", "480p", "360p"};

// "Video Bitrate" of a re-encoding entry holds a quality level, not a number:
// the encoder works at a constant quality and spends what each picture needs.
inline constexpr const char* kHigh = "High";         // hardly told from the source
inline constexpr const char* kStandard = "Standard"; // good to watch, a fair size
inline constexpr const char* kSmall = "Small";       // smallest files, visible softening

} // namespace vx::modern
