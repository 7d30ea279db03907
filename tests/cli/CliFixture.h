#pragma once
// vantorix-convert as a user runs it, without a display: a fresh application
// folder beside links to the real encoder and player, the program copied in,
// and the FLV files a suite copies from made once.
#include "ConvertProgram.h"
#include "TestMedia.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vxtest {

namespace fs = std::filesystem;

class Cli : public ::testing::Test {
  protected:
    static void MakeMedia(const std::vector<std::pair<std::string, FlvSpec>>& files) {
        media_ = MakeTempFolder("vx-cli-media");
        for (const auto& [name, flv] : files)
            ASSERT_TRUE(MakeFlv(media_ + "/" + name, flv)) << name;
    }
    static void TearDownTestSuite() { RemoveFolder(media_); }

    void SetUp() override {
        LinkTools(app_, VX_APP_DIR);
        fs::copy_file(std::string(VX_APP_DIR) + "/vantorix-convert", program_);
        unsetenv("DISPLAY"); // no display is needed
    }
    // A copy of a made file below the application folder, its folders made.
    std::string Source(const std::string& below, const std::string& from = "short.flv") {
        const std::string path = app_ + "/" + below;
        fs::create_directories(fs::path(path).parent_path());
        fs::copy_file(media_ + "/" + from, path);
        return path;
    }
    // The program in-process, its two streams kept apart.
    int RunHere(const std::vector<std::string>& arguments) {
        last_ = Capture([&](std::FILE* out, std::FILE* err) {
            return vx::RunConvert(arguments, app_, {out, err, false, -1});
        });
        return last_.status;
    }

    static inline std::string media_;
    const TempFolder folder_{"vx-cli-app"};
    const std::string& app_ = folder_.path;
    const std::string program_ = app_ + "/vantorix-convert";
    Captured last_;
};

} // namespace vxtest
