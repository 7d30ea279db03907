// Fuzz target: the settings file's reader and writer.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckSettings)
