// One value-log row per main tick: a replayed hour is 36 000 rows, so composing a row
// must cost microseconds at most and allocate nothing once the buffer has grown.
#include "logging/LogFormat.h"
#include "logging/RunLog.h"
#include "common/Clock.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

vcm::VehicleState cruisingCar()
{
    vcm::VehicleState v;
    v.SpeedDisplay = 52.3;
    v.EngineRpm = 1376;
    v.InstantConsumption = 4.871;
    v.CoolantTemp = 855;
    v.BatteryCurrent = -123;
    v.StateOfCharge = 575;
    v.ShiftLever.assign(1, 'D'); // (a literal here trips a false -Wrestrict of GCC 12 at -O2)
    v.DistanceAccumulator = 1520.0 * 3600;
    v.FuelAccumulator = 1e11;
    v.C3Head = "97;193;0;12;34;56;78";
    v.C3Body = ";1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;26;27;28;29;30;31;32";
    return v;
}

void BM_ComposeLogRow(benchmark::State& st)
{
    const vcm::VehicleState v = cruisingCar();
    vcm::GpsState g;
    g.GpsLatitude = "53.361337";
    g.GpsLongitude = "-6.50562";
    g.GpsAltitude = "61,7";
    vcm::MonitorSettings s;
    s.EnableGPS = true;
    s.PortNumGPS = 3;
    std::string row;
    row.reserve(512);
    double tick = 0;
    for (auto _ : st) {
        row.clear();
        vcm::appendLogRow(row, {v, g, s, vcm::DateTime::fromCivil({2026, 12, 4, 9, 10, 5}), tick += 100, 4.9, ','});
        benchmark::DoNotOptimize(row.data());
    }
}
BENCHMARK(BM_ComposeLogRow);

// Composing and writing (each row handed to the operating system as it is written).
// Argument: milliseconds between rows. At 100 (the main tick) the log is synced to the
// disk every tenth row; at 0 the clock stands still and it never is, so the difference
// between the two is what the power-cut protection costs per row.
void BM_WriteLogRow(benchmark::State& st)
{
    const double stepMs = static_cast<double>(st.range(0));
    const auto folder = std::filesystem::temp_directory_path() / "vcm_bench_logrow";
    std::filesystem::create_directories(folder);
    vcm::DiskFileSystem fs;
    vcm::ManualClock clock;
    vcm::MonitorSettings s;
    s.SavePath = folder.string();
    s.UseElm327 = true;
    vcm::RunLog log(fs, clock, s, folder.string());
    const vcm::VehicleState v = cruisingCar();
    const vcm::GpsState g;
    std::string row;
    row.reserve(512);
    for (auto _ : st) {
        row.clear();
        vcm::appendLogRow(row, {v, g, s, clock.now(), clock.tickCount(), 4.9, '.'});
        log.writeRow(row);
        clock.advance(stepMs);
    }
    log.close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteLogRow)->Arg(0)->Arg(100);

} // namespace
