// Every input kept for a fuzz target passes that target's checks: the inputs
// that once broke a property (tests/fuzz/regressions/<target>/) and the seeds
// the fuzzing starts from (tests/fuzz/corpus/<target>/).

#include "FuzzChecks.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace vx::fuzz;
namespace fs = std::filesystem;

namespace {

int CheckFolder(const Target& target, const fs::path& folder) {
    int count = 0;
    if (!fs::is_directory(folder)) return count;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string input(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(target.check(input), "") << entry.path();
        ++count;
    }
    return count;
}

} // namespace

TEST(FuzzRegressions, EveryKeptInputPassesItsTargetsChecks) {
    for (const Target& target : kTargets) {
        SCOPED_TRACE(target.name);
        const fs::path root = VX_FUZZ_DIR;
        CheckFolder(target, root / "regressions" / target.name);
        EXPECT_GT(CheckFolder(target, root / "corpus" / target.name), 0) << "no seeds";
    }
}
