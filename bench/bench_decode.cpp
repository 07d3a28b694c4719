// Decoded frames per second for long recordings of both adapters, and heap allocations
// per frame once the decoder is warm.
//
// The text is the bundled one-second drive (every decoded identifier at its period on
// the car, identifiers without a handler, and for the CANUSB the polling replies)
// repeated to about 8 MB, fed in 4 KiB chunks as a serial port or a replay would.
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/FrameDecoder.h"
#include "decode/VehicleState.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

namespace {

std::atomic<long long> allocations{0};

} // namespace

void* operator new(std::size_t n)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

std::string longText(const char* sample)
{
    std::ifstream in(std::string(VCM_SAMPLES_DIR) + "/" + sample, std::ios::binary);
    const std::string one((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (one.empty()) std::abort();
    std::string text;
    while (text.size() < 8'000'000) text += one;
    return text;
}

void decodeRecording(benchmark::State& bench, const char* sample, bool useElm327)
{
    const std::string text = longText(sample);
    vcm::VehicleState state;
    vcm::MonitorSettings settings;
    settings.UseElm327 = useElm327;
    settings.MetricUnits = true;
    settings.Celsius = true;
    vcm::ManualClock clock(0);
    vcm::NullDecoderSink sink;
    vcm::FrameDecoder decoder(state, settings, clock, sink);

    auto feed = [&] {
        for (std::size_t p = 0; p < text.size(); p += 4096)
            decoder.decodeFrames(std::string_view(text).substr(p, 4096));
    };
    feed(); // warm: captions, diagnostic texts and the pending buffer have their room

    const auto framesBefore = decoder.framesDecoded();
    for (auto _ : bench) {
        feed();
        clock.advance(1000);
    }
    bench.SetItemsProcessed(static_cast<std::int64_t>(decoder.framesDecoded() - framesBefore));
    bench.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * bench.iterations());

    // Allocations of one more pass, outside the timing (and the harness's own work).
    const auto framesBeforePass = decoder.framesDecoded();
    const long long allocsBefore = allocations.load();
    feed();
    const auto allocs = static_cast<double>(allocations.load() - allocsBefore);
    const auto frames = static_cast<double>(decoder.framesDecoded() - framesBeforePass);
    bench.counters["frames_per_pass"] = frames;
    bench.counters["allocs_per_frame"] = allocs / frames;
    benchmark::DoNotOptimize(state);
}

void BM_DecodeElm327(benchmark::State& s) { decodeRecording(s, "elm327-drive.txt", true); }
void BM_DecodeCanUsb(benchmark::State& s) { decodeRecording(s, "canusb-drive.txt", false); }

BENCHMARK(BM_DecodeElm327)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeCanUsb)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
