// Fuzz target: the dry run's lines for a shell or GNU parallel.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckDryRun)
