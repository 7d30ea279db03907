// fp.dll: the encoder tool, the system's ffmpeg.
#include "Launcher.h"
#include "LauncherArgs.h"

int main(int argc, char** argv) {
    return vx::ExecTool("fp.dll", "ffmpeg",
                        vx::EncoderArguments(std::vector<std::string>(argv + 1, argv + argc)));
}
