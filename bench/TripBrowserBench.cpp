// From opening a value log to its charts drawn, as the trip browser does it: read and
// summarise the rows, build the charts, and paint them in a 1200 x 800 window.
// Targets (release build): 36 000 rows (an hour) within 1 s, 65 000 rows within 2 s.
// Logs are the largest kind the logger writes: CANUSB with GPS columns.
#include "analysis/RunSummary.h"
#include "analysis/qt/RunCharts.h"
#include "logging/LogFormat.h"

#include <QApplication>
#include <QChartView>
#include <QGridLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

std::string writeLog(int rows)
{
    vcm::MonitorSettings s;
    s.MetricUnits = true;
    s.EnableGPS = true;
    s.PortNumGPS = 3;
    std::string text = vcm::logHeader(s) + "\r\n";
    vcm::GpsState gps;
    gps.GpsAltitude = "61,7";
    for (int i = 0; i < rows; ++i) {
        const double x = i / 600.0;
        vcm::VehicleState v;
        v.SpeedDisplay = std::round(std::max(0.0, 60 + 50 * std::sin(x)) * 10) / 10;
        v.EngineRpm = std::max(0.0, std::round(1500 + 1400 * std::sin(x * 3)));
        v.BatteryCurrent = static_cast<std::int16_t>(400 * std::sin(x * 7));
        v.BatteryVoltage = 210;
        v.StateOfCharge = static_cast<std::int16_t>(550 + 100 * std::sin(x / 5));
        v.Injector = v.EngineRpm > 0 ? std::round(150 + 100 * std::sin(x * 2)) : 0;
        v.DistanceAccumulator = i * 1500.0 * 3600 / 100;
        v.FuelAccumulator = i * 1e8;
        v.ShiftLever = "D";
        v.C3Head = "97;195;";
        v.C3Body = "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;26;27;28;29;30;31;32;33;34;35;36;37";
        v.C4Head = "97;196;";
        v.C4Body = "1;2;3";
        gps.GpsLatitude = std::to_string(53.36 + i * 1e-5);
        gps.GpsLongitude = std::to_string(-6.5 + std::sin(x) * 0.01);
        vcm::appendLogRow(text, {v, gps, s, vcm::DateTime::fromCivil({2026, 12, 4, 9, 10, 5 + i / 10}), 100.0 * i, 0, ','});
        text += "\r\n";
    }
    const auto path = std::filesystem::temp_directory_path() / ("vcm_bench_" + std::to_string(rows) + ".csv");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

void BM_OpenLogToChartsDrawn(benchmark::State& state)
{
    const std::string path = writeLog(static_cast<int>(state.range(0)));
    vcm::DiskFileSystem disk;
    for (auto _ : state) {
        QWidget window;
        auto* grid = new QGridLayout(&window);
        window.resize(1200, 800);
        const vcm::LogReadResult read = vcm::readValueLog(disk, path);
        const vcm::RunSummary summary = vcm::summarize(*read.run);
        benchmark::DoNotOptimize(summary.distanceKm);
        int i = 0;
        for (auto& c : vcm::makeRunCharts(*read.run)) {
            auto* view = new QChartView(c.chart.release());
            view->setRenderHint(QPainter::Antialiasing);
            grid->addWidget(view, i / 3, i % 3);
            ++i;
        }
        const QPixmap drawn = window.grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
    }
    std::filesystem::remove(path);
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenLogToChartsDrawn)->Arg(36000)->Arg(65000)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
