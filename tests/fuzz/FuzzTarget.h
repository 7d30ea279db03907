#pragma once
// The entry of a libFuzzer target: runs one check on the input and stops the
// run (which keeps the input as a crash) when a property broke.

#include "FuzzChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define VX_FUZZ_TARGET(check)                                                                      \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {            \
        const std::string broken = check({reinterpret_cast<const char*>(data), size});             \
        if (!broken.empty()) {                                                                     \
            std::fprintf(stderr, "broken: %s\n", broken.c_str());                                  \
            std::abort();                                                                          \
        }                                                                                          \
        return 0;                                                                                  \
    }
