// vantorix-convert: converts Flash Video files from the command line, without
// a display, through the same batch as the window.
#include "AppFolder.h"
#include "ConvertProgram.h"

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // Ctrl+C and a polite kill cancel the batch as its Cancel button does. The
    // signals are taken from a descriptor, blocked in every thread of ours (the
    // tools we start get the default mask back).
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    sigprocmask(SIG_BLOCK, &interrupts, nullptr);
    vx::ConvertIo io;
    io.terminal = isatty(STDERR_FILENO) == 1;
    io.interruptFd = signalfd(-1, &interrupts, SFD_CLOEXEC);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return vx::RunConvert(arguments, vx::ApplicationFolderRaw(), io);
}
