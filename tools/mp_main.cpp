// mp.dll: the player tool, the system's mplayer, with a home folder of its own.
#include "Launcher.h"
#include "LauncherArgs.h"
#include "PlayerHome.h"

int main(int argc, char** argv) {
    vx::UsePlayerHome();
    return vx::ExecTool("mp.dll", "mplayer",
                        vx::PlayerArguments(std::vector<std::string>(argv + 1, argv + argc)));
}
