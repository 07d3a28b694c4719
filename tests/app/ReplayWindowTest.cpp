// veloxcanmoni --replay FILE --gui: a recorded second played into the real window at
// its recorded pace, offscreen.
#include "WindowRig.h"

#include "app/ReplayWindow.h"
#include "sources/replay/RecordingError.h"
#include "support/TextFiles.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <tuple>

namespace vcm::test {
namespace {

// The sample holds one second of the bus in ELM327 monitor text (about 0.7 s at
// 500000 bit/s); its frames say: state of charge 56.5 %, coolant 86 deg C, tank 32 %,
// lever in D.
TEST(ReplayWindow, PlaysARecordingIntoTheGaugesAndLogsIt)
{
    TempFolder scratch, out;
    ReplayCommandLine line;
    line.input = std::string(VCM_SAMPLES_DIR) + "/elm327-drive.txt";
    line.outFolder = out.path();
    line.gui = true;
    line.metric = line.celsius = true;
    line.startEpoch = 1700000000;
    MonitorSettings user;
    user.MetricUnits = user.Celsius = false; // the command line's units win over the settings file's

    WindowReplay replay(openWindowRecording(line), line, user, scratch.path());
    QEventLoop loop;
    QObject::connect(&replay, &WindowReplay::recordingEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit); // a hung replay fails, not hangs
    replay.start();
    loop.exec();
    ASSERT_TRUE(replay.ended());

    QtView& view = replay.window().view();
    // "D" lit, "B" not.
    EXPECT_EQ(std::tuple(view.text({"StateValue"}), view.text({"CoolantTempValue"}), view.text({"TankValue"}),
                         view.foreColor({"ShiftStatus", 1}), view.foreColor({"ShiftStatus", 4})),
              std::tuple("56.5", "86.0", "32", colors::Green, colors::SystemText));

    replay.window().close();
    std::vector<std::string> logs = out.names();
    std::erase_if(logs, [](const std::string& name) { return !name.ends_with(".csv"); });
    ASSERT_EQ(logs.size(), 1u);
    const auto rows = linesOf(out.read(logs[0]));
    ASSERT_GE(rows.size(), 4u); // the header and a row every 100 ms of the drive
    EXPECT_EQ(rows[0].rfind("Date;Heure;km/h;Tpm;L/100;Temp Eau(°C);", 0), 0u) << rows[0];
    EXPECT_NE(rows.back().find(";86.0;"), std::string::npos) << rows.back();
    EXPECT_NE(out.read("TRAJETS.CSV").find("\r\nT;"), std::string::npos) << "the run's trip line";
}

TEST(ReplayWindow, AnUnreadableRecordingIsReportedBeforeAnyWindow)
{
    TempFolder in;
    ReplayCommandLine line;
    for (const std::string& input : {in.write("empty.txt", ""), in.file("missing.txt")}) {
        line.input = input;
        EXPECT_THROW(openWindowRecording(line), RecordingError) << input;
    }
}

} // namespace
} // namespace vcm::test
