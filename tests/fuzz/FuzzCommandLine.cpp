// Fuzz target: quoting paths into command texts and splitting them.
#include "FuzzTarget.h"

VX_FUZZ_TARGET(vx::fuzz::CheckCommandLine)
