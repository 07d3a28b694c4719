// veloxcanmoni --replay FILE --gui: a recorded second played into the real window at
// its recorded pace, offscreen.
#include "WindowRig.h"

#include "app/ReplayWindow.h"
#include "sources/replay/RecordingError.h"
#include "support/TextFiles.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

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
    EXPECT_EQ(view.text({"StateValue"}), "56.5");
    EXPECT_EQ(view.text({"CoolantTempValue"}), "86.0");
    EXPECT_EQ(view.text({"TankValue"}), "32");
    EXPECT_EQ(view.foreColor({"ShiftStatus", 1}), colors::Green); // "D" lit
    EXPECT_EQ(view.foreColor({"ShiftStatus", 4}), colors::SystemText);

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
    in.write("empty.txt", "");
    ReplayCommandLine line;
    line.input = in.file("empty.txt");
    EXPECT_THROW(openWindowRecording(line), RecordingError);
    line.input = in.file("missing.txt");
    EXPECT_THROW(openWindowRecording(line), RecordingError);
}

} // namespace
} // namespace vcm::test
