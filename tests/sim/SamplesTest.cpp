// The sample recordings in samples/ are what the simulator makes (how they decode:
// DriveDecodesTest, on the simulator's own drive).
#include "sources/sim/DriveRecorder.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

using namespace vcm::sim;

TEST(Samples, AreWhatTheSimulatorRecords)
{
#if !defined(__linux__)
    GTEST_SKIP() << "recorded with Linux's maths library";
#endif
    struct Case { const char* file; RecordFormat format; };
    for (const Case c : {Case{"drive-elm327.txt", RecordFormat::Elm327}, Case{"drive-canusb.txt", RecordFormat::CanUsb},
                         Case{"drive.candump.log", RecordFormat::Candump}}) {
        const std::string sample = vcm::test::readFile(std::string(VCM_SAMPLES_DIR) + "/" + c.file);
        ASSERT_FALSE(sample.empty()) << c.file;
        EXPECT_TRUE(sample == recordDrive(c.format, 90, 26)) // 90 s, seed 26
            << c.file << " differs from the simulator's recording: make it again (samples/README.md)";
    }
}
