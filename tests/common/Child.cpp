// A child program for the process runner's tests.
//   out TEXT      writes TEXT to standard output
//   err TEXT      writes TEXT to standard error
//   lines N       writes N numbered lines as fast as it can
//   bytes N       writes N bytes
//   sleep MS      sleeps
//   exit CODE     exits with CODE (the last step)
// Steps run in order: "vx_child out a err b exit 3".
// Started under a name ending in "mp.dll" it is a player tool that never ends.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    if (std::string(argv[0]).ends_with("mp.dll"))
        while (true)
            pause();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string step = argv[i];
        const char* value = argv[i + 1];
        if (step == "out") {
            std::fputs(value, stdout);
            std::fflush(stdout);
        } else if (step == "err") {
            std::fputs(value, stderr);
            std::fflush(stderr);
        } else if (step == "lines") {
            for (long n = 0; n < std::atol(value); ++n)
                std::printf("line %ld\n", n);
            std::fflush(stdout);
        } else if (step == "bytes") {
            std::string block(65536, 'x');
            for (long left = std::atol(value); left > 0;) {
                const long n = left < 65536 ? left : 65536;
                const ssize_t w = write(1, block.data(), static_cast<size_t>(n));
                if (w <= 0) return 9;
                left -= w;
            }
        } else if (step == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(value)));
        } else if (step == "exit") {
            return std::atoi(value);
        }
    }
    return 0;
}
