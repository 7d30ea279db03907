// mp.dll: the player tool, the system's mplayer.
#include "Launcher.h"
#include "LauncherArgs.h"

int main(int argc, char** argv) {
    return vx::ExecTool("mp.dll", "mplayer",
                        vx::PlayerArguments(std::vector<std::string>(argv + 1, argv + argc)));
}
