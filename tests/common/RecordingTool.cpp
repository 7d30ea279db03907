// A stand-in for a tool: appends the arguments it was started with to the file
// named like itself plus ".calls", one call per line, the arguments separated
// by tabs, and exits with 0. Placed as "fp.dll" in an application folder it
// shows the command lines a batch gives the encoder.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += std::string(i > 1 ? "\t" : "") + argv[i];
    FILE* calls = std::fopen((std::string(argv[0]) + ".calls").c_str(), "a");
    if (!calls) return 1;
    std::fprintf(calls, "%s\n", line.c_str());
    return std::fclose(calls) == 0 ? 0 : 1;
}
