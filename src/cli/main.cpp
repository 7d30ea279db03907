// vantorix-convert: converts Flash Video files from the command line, without
// a display, through the same batch as the window.
#include "AppFolder.h"
#include "ConvertProgram.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// A standard stream the caller closed is held by /dev/null opened for reading:
// no file of ours can take its number (and receive the command lines meant for
// standard output), and a write to it still fails and is said.
void HoldClosedStreams() {
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) close(held); // only the lowest free number will do
        }
}

} // namespace

int main(int argc, char** argv) {
    HoldClosedStreams();
    // Ctrl+C, a polite kill, a closed terminal or session and Ctrl+\ cancel the
    // batch as its Cancel button does: no half-written file is left behind. The
    // signals are taken from a descriptor, blocked in every thread of ours (the
    // tools we start get the default mask back).
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&interrupts, signal);
    sigprocmask(SIG_BLOCK, &interrupts, nullptr);
    vx::ConvertIo io;
    io.terminal = isatty(STDERR_FILENO) == 1;
    io.interruptFd = signalfd(-1, &interrupts, SFD_CLOEXEC);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return vx::RunConvert(arguments, vx::ApplicationFolderRaw(), io);
}
