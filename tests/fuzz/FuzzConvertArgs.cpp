// Fuzz target: the converter's command line and its clip times.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckConvertArgs)
