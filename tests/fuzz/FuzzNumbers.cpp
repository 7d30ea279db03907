// Fuzz target: the number text reader and writer.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckNumbers)
