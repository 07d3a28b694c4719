// End to end over the real serial path: vcm-simcar serves the simulated adapter on a
// pseudo-terminal; the session opens it through QSerialPort as it would a USB adapter.
#include "support/TempFolder.h"

#include "common/MemoryView.h"
#include "link/Monitor.h"
#include "link/qt/MonitorTimers.h"
#include "link/qt/QtEventPump.h"
#include "link/qt/QtPorts.h"
#include "logging/RunLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vcm::test {
namespace {

int argc = 1;
char arg0[] = "test_link_pty";
char* argv[] = {arg0, nullptr};

template <class Done>
bool runUntil(Done done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

std::vector<std::string> csvRows(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    std::vector<std::string> rows;
    std::size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        rows.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return rows;
}

struct PtyCase {
    const char* name;
    const char* adapter;
    bool elm327;
};

class SimcarOverPty : public ::testing::TestWithParam<PtyCase> {};

TEST_P(SimcarOverPty, StartDecodeLogStop)
{
    const auto& c = GetParam();
    QCoreApplication app(argc, argv);
    QProcess tool;
    tool.start(VCM_SIMCAR_TOOL, {"--adapter", c.adapter, "--seed", "3"});
    ASSERT_TRUE(tool.waitForStarted(5000)) << VCM_SIMCAR_TOOL;
    ASSERT_TRUE(runUntil([&] { return tool.canReadLine(); }, 5000));
    const std::string device = tool.readLine().trimmed().toStdString();
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;

    TempFolder folder;
    MonitorSettings settings;
    settings.UseElm327 = c.elm327;
    settings.PortNum = 2;
    settings.BPS = 500000;
    settings.MetricUnits = true;
    settings.Celsius = true;
    settings.Logfile = true;
    settings.SavePath = folder.path();
    SystemClock clock;
    MemoryView view;
    DiskFileSystem fs;
    QtEventPump pump;
    QtPorts ports({{2, device}}, clock);
    Monitor monitor(settings, view, clock, fs, ports.adapter(), ports.aux(), ports.gps(), pump, ',', folder.path());
    MonitorTimers timers(monitor);

    monitor.startAcquisition();
    ASSERT_TRUE(monitor.isRunning()) << ports.adapter().errorText();
    EXPECT_FALSE(view.isVisible({"ErreurCan"}));

    const VehicleState& v = monitor.vehicle();
    ASSERT_TRUE(runUntil([&] { return v.BatteryVoltage > 0 && v.StateOfCharge > 0 && monitor.runLog().rowCount() > 10; },
                         4000))
        << "voltage " << v.BatteryVoltage << " SOC " << v.StateOfCharge << " rows " << monitor.runLog().rowCount();
    EXPECT_GT(v.BatteryVoltage, 150);
    EXPECT_LT(v.BatteryVoltage, 300);
    const std::string csv = monitor.runLog().fileBase() + ".csv";

    monitor.stopAcquisition();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_FALSE(view.isVisible({"ErreurCan"})) << "the adapter answered the stop command";
    EXPECT_FALSE(monitor.runLog().isOpen());

    const auto rows = csvRows(csv);
    ASSERT_GE(rows.size(), 11u);
    EXPECT_EQ(rows[0].substr(0, 10), "Date;Heure");
    const auto separators = [](const std::string& r) { return std::count(r.begin(), r.end(), ';'); };
    if (c.elm327) {
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_EQ(separators(rows[i]), separators(rows[0])) << rows[i];
    } else {
        // The polled control unit answered: the last row carries the 39 values of record C3
        // (and the separator before the unrequested C4 values).
        EXPECT_EQ(separators(rows.back()), separators(rows[0]) + 1) << rows.back();
    }

    // The tool ends when the program closes the port.
    EXPECT_TRUE(tool.waitForFinished(5000));
    if (tool.state() != QProcess::NotRunning) {
        tool.terminate();
        tool.waitForFinished(2000);
    }
}

INSTANTIATE_TEST_SUITE_P(Adapters, SimcarOverPty,
                         ::testing::Values(PtyCase{"Elm327", "elm327", true}, PtyCase{"CanUsb", "canusb", false}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vcm::test
