// vcm-record: records a drive of the simulated car as the live program would, on a
// virtual clock (sample recordings, benchmark input).
//   vcm-record --out DIR [--seconds N] [--adapter elm327|canusb] [--seed N] [--no-gps]
#include "SimulatedDrive.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    vcm::SimulatedDriveOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--out" && v)
            options.folder = argv[++i];
        else if (a == "--seconds" && v)
            options.seconds = std::atof(argv[++i]);
        else if (a == "--adapter" && v)
            options.elm327 = std::string(argv[++i]) != "canusb";
        else if (a == "--seed" && v)
            options.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--no-gps")
            options.withGps = false;
        else {
            std::fprintf(stderr, "usage: vcm-record --out DIR [--seconds N] [--adapter elm327|canusb] [--seed N] [--no-gps]\n");
            return 2;
        }
    }
    if (options.folder.empty()) {
        std::fprintf(stderr, "vcm-record: --out DIR is missing\n");
        return 2;
    }
    try {
        std::printf("%s\n", vcm::recordSimulatedDrive(options).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vcm-record: %s\n", e.what());
        return 1;
    }
    return 0;
}
