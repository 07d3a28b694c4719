// vcm-linkrate: how much of what the adapter's serial line can carry reaches the
// decoder, for the simulated car on a virtual clock (a minute takes about a second).
//   vcm-linkrate [--speed BPS] [--seconds N] [--seed N] [--adapter elm327|canusb]
// The bound is the line's characters a second (10 bits each) over the mean length of
// the car's monitor lines ("3CA 00 00 1E 00 00\r\n"); frames beyond it cannot arrive.
// Prints one line: speed, frames a second, bound, share of the bound, longest gap
// without a frame and the "BUFFER FULL" reports; exits 1 below --min-share (0.8).
#include "SimulatedDrive.h"

#include "link/canformat/AdapterText.h"
#include "sources/sim/SimulatedPort.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Mean characters of one monitor line of the car's bus in the adapter's form.
double meanLineLength(std::uint64_t seed, bool elm327, double seconds)
{
    vcm::sim::SimulatedCar car;
    car.seed = seed;
    auto adapter = vcm::sim::makeVirtualAdapter(car);
    std::vector<vcm::sim::CanFrame> frames;
    adapter->bus().framesUntil(seconds * 1000, frames);
    std::string text;
    for (const auto& f : frames) {
        if (elm327)
            vcm::appendElmMonitorLine(text, f, vcm::ElmFormat{});
        else
            vcm::appendLawicelFrame(text, f);
    }
    return frames.empty() ? 1 : static_cast<double>(text.size()) / static_cast<double>(frames.size());
}

} // namespace

int main(int argc, char** argv)
{
    vcm::SimulatedDriveOptions options;
    options.bitsPerSecond = 38400;
    options.seconds = 60;
    options.withGps = false;
    double minShare = 0.8;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--speed" && hasValue)
            options.bitsPerSecond = std::atoi(argv[++i]);
        else if (a == "--seconds" && hasValue)
            options.seconds = std::atof(argv[++i]);
        else if (a == "--seed" && hasValue)
            options.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--adapter" && hasValue)
            options.elm327 = std::string(argv[++i]) != "canusb";
        else if (a == "--min-share" && hasValue)
            minShare = std::atof(argv[++i]);
        else {
            std::fprintf(stderr, "usage: vcm-linkrate [--speed BPS] [--seconds N] [--seed N] [--adapter elm327|canusb] "
                                 "[--min-share 0.8]\n");
            return 2;
        }
    }
    if (options.bitsPerSecond <= 0 || options.seconds <= 0)
        return 2;

    const auto folder = std::filesystem::temp_directory_path() / ("vcm-linkrate-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    options.folder = folder.string();
    vcm::SimulatedDriveStats stats;
    try {
        vcm::recordSimulatedDrive(options, &stats);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vcm-linkrate: %s\n", e.what());
        std::filesystem::remove_all(folder);
        return 1;
    }
    std::filesystem::remove_all(folder);

    const double lineLength = meanLineLength(options.seed, options.elm327, options.seconds);
    const double bound = options.bitsPerSecond / 10.0 / lineLength;
    const double rate = static_cast<double>(stats.framesDecoded) / stats.seconds;
    const double share = rate / bound;
    std::printf("%d bit/s: %.1f frame lines/s over %.0f s, bound %.1f/s (%.1f characters a line): %.1f %% of the bound; "
                "longest gap %.0f ms; %d BUFFER FULL\n",
                options.bitsPerSecond, rate, stats.seconds, bound, lineLength, share * 100, stats.longestGapMs,
                stats.bufferFullReports);
    return share >= minShare && stats.longestGapMs < 5000 ? 0 : 1;
}
