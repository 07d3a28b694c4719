// Replay of a one-hour drive, end to end: the raw log read, every chunk through the
// receive path and decoder, 36 000 main ticks, the value log and trip file written.
// The drive is recorded once (by the live program's own path on the simulated car,
// vcm-record) into a temporary folder and replayed on each iteration.
//
// Counters: recorded_s (length of the drive), cpu_s (processor time of one replay),
// speedup (recorded time / processor time; the wall time is the benchmark's Time, which
// a busy machine stretches; read the median row), peak_rss_mb (the process's peak resident memory after the
// run). The second benchmark replays the longest log set there is (65000 rows, 6500 s,
// the first set of a three-hour drive): a peak no higher than the first's shows memory
// stays flat whatever the length of the recording.
#include "SimulatedDrive.h"
#include "common/FileSystem.h"
#include "link/replay/RecordingSource.h"
#include "link/replay/ReplaySession.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <sys/resource.h>
#include <time.h>

namespace {

namespace fs = std::filesystem;

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// The raw log of a drive of the given length, recorded once per process.
const std::string& recordedDrive(double seconds)
{
    static std::map<double, std::string> made;
    auto& path = made[seconds];
    if (path.empty()) {
        const fs::path folder = fs::temp_directory_path() / ("vcm_bench_drive_" + std::to_string(static_cast<int>(seconds)));
        fs::remove_all(folder);
        fs::create_directories(folder);
        vcm::SimulatedDriveOptions options;
        options.folder = folder.string();
        options.seconds = seconds;
        options.withGps = true;
        path = vcm::recordSimulatedDrive(options) + ".txt";
    }
    return path;
}

void replayDrive(benchmark::State& state, double seconds)
{
    const std::string& drive = recordedDrive(seconds);
    const fs::path out = fs::temp_directory_path() / "vcm_bench_replay_out";
    double recordedMs = 0, spent = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        const double t0 = cpuSeconds();
        auto source = vcm::openRecording(drive, {});
        vcm::ReplayOptions options;
        options.settings.MetricUnits = true;
        options.settings.Celsius = true;
        options.outFolder = out.string();
        options.gpsPath = fs::path(drive).replace_extension(".gps").string();
        vcm::DiskFileSystem disk;
        const vcm::ReplayReport report = vcm::replayRecording(*source, options, disk);
        spent += cpuSeconds() - t0;
        recordedMs = report.recordedMs;
        rows = report.rows;
        benchmark::DoNotOptimize(report);
    }
    const double perRun = spent / static_cast<double>(state.iterations());
    state.counters["recorded_s"] = recordedMs / 1000.0;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["cpu_s"] = perRun;
    state.counters["speedup"] = recordedMs / 1000.0 / perRun;
    state.counters["peak_rss_mb"] = peakRssMb();
    state.counters["file_mb"] = static_cast<double>(fs::file_size(drive)) / 1e6;
    fs::remove_all(out);
}

void BM_ReplayOneHour(benchmark::State& state) { replayDrive(state, 3600); }
void BM_ReplayLongestLogSet(benchmark::State& state) { replayDrive(state, 3 * 3600); }

} // namespace

// Repeated, with the median reported: a shared machine stretches single runs at random.
BENCHMARK(BM_ReplayOneHour)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplayLongestLogSet)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
