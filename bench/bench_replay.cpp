// Replay of a one-hour drive, end to end: the raw log read, every chunk through the
// receive path and decoder, 36 000 main ticks, the value log and trip file written.
// The drive is recorded once (by the live program's own path on the simulated car,
// vcm-record) into a temporary folder and replayed on each iteration.
//
// Counters: recorded_s (length of the drive), rows and log_sets (value logs written),
// cpu_s (processor time of one replay), speedup (recorded time / processor time; the
// wall time is the benchmark's Time, which a busy machine stretches; read the median
// row), peak_rss_mb (the process's peak resident memory after the run). The second
// benchmark replays the longest log set there is (65000 rows, 6500 s, the first set of
// a three-hour drive), the third a day-long recording (the one-hour drive played 24
// times on one time line, 864 000 rows in 14 log sets): a peak no higher than the
// first's shows memory stays flat whatever the length of the recording.
#include "SimulatedDrive.h"
#include "common/FileSystem.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/RecordingSource.h"
#include "sources/replay/ReplaySession.h"

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

// A recording played again and again, each pass carrying on the time line where the
// last ended: to the replay, one recording that many times as long.
class RepeatedRecording final : public vcm::RecordingSource {
public:
    RepeatedRecording(std::string path, int passes) : path_(std::move(path)), passes_(passes) {}

    bool next(vcm::RecordedChunk& chunk) override
    {
        for (;;) {
            if (pass_ >= passes_)
                return false;
            if (!source_)
                source_ = vcm::openRecording(path_, {});
            if (source_->next(chunk)) {
                if (!firstUs_)
                    firstUs_ = chunk.timeUs;
                lastUs_ = chunk.timeUs;
                chunk.timeUs += offsetUs_;
                chunk.tickMs += static_cast<double>(offsetUs_) / 1000.0;
                return true;
            }
            // The next pass starts one chunk interval after this one's last chunk.
            offsetUs_ += lastUs_ - *firstUs_ + 4000;
            source_.reset();
            ++pass_;
        }
    }
    vcm::RecordingKind kind() const override { return vcm::RecordingKind::RawLog; }
    vcm::AdapterForm form() const override { return vcm::AdapterForm::Elm327; }
    double fractionRead() const override { return static_cast<double>(pass_) / passes_; }
    std::optional<double> durationMs() const override { return std::nullopt; }

private:
    std::string path_;
    int passes_;
    int pass_ = 0;
    std::unique_ptr<vcm::RecordingSource> source_;
    std::optional<std::int64_t> firstUs_;
    std::int64_t lastUs_ = 0;
    std::int64_t offsetUs_ = 0;
};

void replayDrive(benchmark::State& state, double seconds, int passes = 1)
{
    const std::string& drive = recordedDrive(seconds);
    const fs::path out = fs::temp_directory_path() / "vcm_bench_replay_out";
    double recordedMs = 0, spent = 0;
    std::int64_t rows = 0;
    int logSets = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        const double t0 = cpuSeconds();
        std::unique_ptr<vcm::RecordingSource> source;
        if (passes == 1)
            source = vcm::openRecording(drive, {});
        else
            source = std::make_unique<RepeatedRecording>(drive, passes);
        vcm::ReplayOptions options;
        options.settings.MetricUnits = true;
        options.settings.Celsius = true;
        options.outFolder = out.string();
        if (passes == 1)
            options.gpsPath = fs::path(drive).replace_extension(".gps").string();
        vcm::DiskFileSystem disk;
        const vcm::ReplayReport report = vcm::replayRecording(*source, options, disk);
        spent += cpuSeconds() - t0;
        state.PauseTiming();
        logSets = 0;
        for (const auto& entry : fs::directory_iterator(out))
            logSets += entry.path().extension() == ".csv" ? 1 : 0;
        state.ResumeTiming();
        recordedMs = report.recordedMs;
        rows = report.rows;
        benchmark::DoNotOptimize(report);
    }
    const double perRun = spent / static_cast<double>(state.iterations());
    state.counters["recorded_s"] = recordedMs / 1000.0;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["log_sets"] = logSets;
    state.counters["cpu_s"] = perRun;
    state.counters["speedup"] = recordedMs / 1000.0 / perRun;
    state.counters["peak_rss_mb"] = peakRssMb();
    state.counters["file_mb"] = static_cast<double>(fs::file_size(drive)) * passes / 1e6;
    fs::remove_all(out);
}

void BM_ReplayOneHour(benchmark::State& state) { replayDrive(state, 3600); }
void BM_ReplayLongestLogSet(benchmark::State& state) { replayDrive(state, 3 * 3600); }
void BM_ReplayOneDay(benchmark::State& state) { replayDrive(state, 3600, 24); }

} // namespace

// Repeated, with the median reported: a shared machine stretches single runs at random.
BENCHMARK(BM_ReplayOneHour)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplayLongestLogSet)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplayOneDay)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
