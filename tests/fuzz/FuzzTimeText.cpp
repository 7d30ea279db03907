// Fuzz target: the time text reader and writer.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckTimeText)
