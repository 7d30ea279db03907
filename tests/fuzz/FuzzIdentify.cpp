// Fuzz target: the player's identify report.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckIdentifyReport)
