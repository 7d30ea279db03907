// Fuzz target: profile files and the values they and --set give the encoder.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckProfile)
