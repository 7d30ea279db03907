// The entry of a libFuzzer target: runs the check named VX_FUZZ_TARGET (a name
// of kTargets) on the input and stops the run (which keeps the input as a
// crash) when a property broke.
#include "FuzzChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto check = [] {
        for (const vx::fuzz::Target& target : vx::fuzz::kTargets)
            if (std::string_view(target.name) == VX_FUZZ_TARGET) return target.check;
        std::abort();
    }();
    const std::string broken = check({reinterpret_cast<const char*>(data), size});
    if (!broken.empty()) {
        std::fprintf(stderr, "broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
