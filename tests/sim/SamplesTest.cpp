// The sample recordings in samples/: they are what the simulator makes, and what they
// hold decodes into a sensible drive.
#include "SimHost.h"
#include "decode/DecoderRig.h"

#include "link/canformat/CandumpLog.h"
#include "link/sim/DriveRecorder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

using namespace vcm::sim;
using namespace vcm::sim::test;

namespace {

constexpr double kSampleSeconds = 90;
constexpr std::uint64_t kSampleSeed = 26;

std::string readSample(const std::string& name)
{
    std::ifstream in(std::string(VCM_SAMPLES_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(Samples, AreWhatTheSimulatorRecords)
{
#if !defined(__linux__)
    GTEST_SKIP() << "recorded with Linux's maths library";
#endif
    struct Case { const char* file; RecordFormat format; };
    for (const Case c : {Case{"drive-elm327.txt", RecordFormat::Elm327}, Case{"drive-canusb.txt", RecordFormat::CanUsb},
                         Case{"drive.candump.log", RecordFormat::Candump}}) {
        const std::string sample = readSample(c.file);
        ASSERT_FALSE(sample.empty()) << c.file;
        EXPECT_TRUE(sample == recordDrive(c.format, kSampleSeconds, kSampleSeed))
            << c.file << " differs from the simulator's recording: make it again (samples/README.md)";
    }
}

TEST(Samples, AdapterTextDecodesIntoTheDrive)
{
    for (bool elm : {true, false}) {
        SCOPED_TRACE(elm ? "ELM327" : "CANUSB");
        vcm::test::DecoderRig d(elm);
        const std::string text = readSample(elm ? "drive-elm327.txt" : "drive-canusb.txt");
        // Serial reads cut text anywhere: hand it over in uneven pieces.
        std::size_t at = 0, piece = 1;
        std::set<std::string> levers;
        double topSpeed = 0;
        while (at < text.size()) {
            d.decoder.decodeFrames(std::string_view(text).substr(at, piece));
            at += piece;
            piece = piece % 97 + 13;
            d.clock.advance(1);
            levers.insert(d.state.ShiftLever);
            topSpeed = std::max(topSpeed, d.state.SpeedKmh);
        }
        // Almost the whole 90 s at ~166.7 frames/s for 030 (monitoring starts ~1 s in).
        EXPECT_NEAR(d.decoder.framesOf(0x030), 89 * 1000 / 6.0, 300);
        EXPECT_NEAR(d.decoder.framesOf(0x3CA), 89 * 1000 / 108.0, 15);
        EXPECT_GT(topSpeed, 70);
        EXPECT_TRUE(levers.count("P") && levers.count("D") && levers.count("B"));
        EXPECT_GE(d.state.StateOfCharge, 400);
        EXPECT_LE(d.state.StateOfCharge, 800);
        EXPECT_GT(d.state.CoolantTemp, 200) << "warmed up from a cold start";
        if (!elm) {
            EXPECT_EQ(d.state.DiagReplyKind, "C3");
            EXPECT_FALSE(d.state.C3Body.empty());
        }
    }
}

TEST(Samples, CandumpLogReplaysThroughTheAdapterWithItsTiming)
{
    // Distance of the drive from the log itself: speed (0B4) held between frames.
    const std::string log = readSample("drive.candump.log");
    double metres = 0, lastMs = -1, lastKmh = 0;
    std::size_t at = 0;
    while (at < log.size()) {
        auto end = log.find('\n', at);
        const auto line = vcm::parseCandumpLine(std::string_view(log).substr(at, end - at));
        at = end + 1;
        ASSERT_EQ(line.kind, vcm::CandumpLine::Kind::Frame) << line.reason;
        const auto& f = line.frame;
        if (f.id != 0x0B4) continue;
        const double ms = static_cast<double>(line.timeUs) / 1000.0;
        if (lastMs >= 0) metres += lastKmh / 3.6 * (ms - lastMs) / 1000;
        lastMs = ms;
        lastKmh = (f.data[5] * 256 + f.data[6]) / 100.0;
    }
    ASSERT_GT(metres, 500);

    // The same log played by a simulated CANUSB, decoded as the dashboard would.
    vcm::ManualClock clock{1000};
    std::string error;
    auto port = SimulatedPort::create(std::string("sim:canusb:replay=") + VCM_SAMPLES_DIR + "/drive.candump.log", clock, &error);
    ASSERT_NE(port, nullptr) << error;
    ASSERT_TRUE(port->open(1, "500000,N,8,1"));
    port->write("S6\rO\r");
    vcm::test::DecoderRig d(false);
    vcm::resetTrip(d.state, d.clock.tickCount());
    for (int t = 0; t < 90000; t += 10) {
        clock.advance(10);
        d.clock.advance(10);
        port->pump();
        d.decoder.decodeFrames(port->readAll());
    }
    EXPECT_NEAR(d.state.DistanceAccumulator / 3600, metres, metres * 0.01);
}
