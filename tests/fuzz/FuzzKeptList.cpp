// Fuzz target: the kept list decoder and encoder.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckKeptList)
