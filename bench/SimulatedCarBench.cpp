// The simulated car runs inside the dashboard's own thread (device "sim:elm327"), pumped
// from a timer: one second of its bus must cost a small part of a second, so that the
// dashboard keeps its time for decoding, logging and drawing.
#include "common/Clock.h"
#include "sources/sim/DriveBus.h"
#include "sources/sim/SimulatedPort.h"
#include "sources/sim/VirtualCanUsb.h"
#include "sources/sim/VirtualElm327.h"

#include <benchmark/benchmark.h>

namespace {

// One simulated second per iteration, pumped every 10 ms as a timer would.
void pumpSeconds(benchmark::State& bench, bool elm)
{
    vcm::ManualClock clock(0);
    std::unique_ptr<vcm::sim::VirtualAdapter> adapter;
    if (elm) adapter = std::make_unique<vcm::sim::VirtualElm327>(std::make_unique<vcm::sim::DriveBus>(1));
    else adapter = std::make_unique<vcm::sim::VirtualCanUsb>(std::make_unique<vcm::sim::DriveBus>(1));
    vcm::sim::SimulatedPort port(clock, std::move(adapter));
    port.open(1, "500000,N,8,1");
    port.write(elm ? "ATE0\rATH1\rATL1\rATCAF0\rATMA\r" : "S6\rO\r");
    std::size_t bytes = 0;
    for (auto _ : bench) {
        for (int tick = 0; tick < 100; ++tick) {
            clock.advance(10);
            port.pump();
            bytes += port.readAll().size();
        }
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    bench.counters["sim_seconds"] = benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}

void BM_SimulatedElm327Second(benchmark::State& s) { pumpSeconds(s, true); }
void BM_SimulatedCanUsbSecond(benchmark::State& s) { pumpSeconds(s, false); }

BENCHMARK(BM_SimulatedElm327Second)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulatedCanUsbSecond)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
