// The acquisition loop as a Qt host runs it: real timers, the Qt event pump and the port
// routing, against the simulated car in-process and, when the tool is built, over a
// pseudo-terminal served by vcm-simcar through QSerialPort.
#include "QtLoop.h"
#include "support/MonitorTestView.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include "common/Notices.h"
#include "run/Monitor.h"
#include "run/qt/MonitorTimers.h"
#include "link/qt/QtEventPump.h"
#include "link/qt/QtPorts.h"
#include "logging/RunLog.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

namespace vcm::test {
namespace {

struct CarCase {
    const char* name;
    const char* device; // "" = a pseudo-terminal served by vcm-simcar
    bool elm327;
};

class SimulatedCarSession : public ::testing::TestWithParam<CarCase> {};

TEST_P(SimulatedCarSession, AcquiresDecodesLogsAndStops)
{
    const auto& c = GetParam();
    QCoreApplication app(qtArgc, qtArgv);
    QProcess tool;
    std::string device = c.device;
    if (device.empty()) {
#ifdef VCM_SIMCAR_TOOL
        tool.start(VCM_SIMCAR_TOOL, {"--adapter", c.elm327 ? "elm327" : "canusb", "--seed", "3"});
        ASSERT_TRUE(tool.waitForStarted(5000)) << VCM_SIMCAR_TOOL;
        ASSERT_TRUE(runUntil([&] { return tool.canReadLine(); }, 5000));
        device = tool.readLine().trimmed().toStdString();
        ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;
#else
        GTEST_SKIP() << "vcm-simcar is not built";
#endif
    }

    TempFolder folder;
    MonitorSettings settings;
    settings.UseElm327 = c.elm327;
    settings.PortNum = 2;
    settings.BPS = 500000;
    settings.Logfile = true;
    settings.SavePath = folder.path();
    SystemClock clock;
    NoticeList notices;
    DiskFileSystem fs;
    QtEventPump pump;
    QtPorts ports({{2, device}}, clock);
    Monitor monitor(settings, notices, clock, fs, ports.adapter(), ports.aux(), ports.gps(), pump, ',', folder.path());
    MonitorTimers timers(monitor);

    monitor.startAcquisition();
    ASSERT_TRUE(monitor.isRunning()) << ports.adapter().errorText();
    EXPECT_FALSE(monitor.dashboard().adapterError.value);

    // The car's frames reach the live values and the value log gets its rows.
    const VehicleState& v = MonitorTestView::vehicle(monitor);
    ASSERT_TRUE(runUntil([&] { return v.BatteryVoltage > 0 && v.StateOfCharge > 0 && monitor.logs().rowCount() > 10; },
                         4000))
        << "voltage " << v.BatteryVoltage << " SOC " << v.StateOfCharge << " rows " << monitor.logs().rowCount();
    EXPECT_GT(v.BatteryVoltage, 150);
    EXPECT_LT(v.BatteryVoltage, 300);
    const std::string csv = monitor.logs().fileBase() + ".csv";

    monitor.stopAcquisition();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_FALSE(monitor.dashboard().adapterError.value) << "the adapter answered the stop";
    EXPECT_FALSE(monitor.logs().isOpen());

    const auto rows = linesOf(folder.read(csv));
    ASSERT_GE(rows.size(), 11u);
    EXPECT_EQ(rows[0].substr(0, 10), "Date;Heure");
    const auto separators = [](const std::string& r) { return std::count(r.begin(), r.end(), ';'); };
    // Every row has the header's columns, the CANUSB's with record C3 polled and the
    // unrequested C4 left empty.
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(separators(rows[i]), separators(rows[0])) << rows[i];

    if (tool.state() != QProcess::NotRunning) { // (QProcess kills it on the way out otherwise)
        EXPECT_TRUE(tool.waitForFinished(5000)) << "the tool ends when the program closes the port";
    }
}

INSTANTIATE_TEST_SUITE_P(Adapters, SimulatedCarSession,
                         // An ELM327 over a pseudo-terminal: Headless.LogsFromTheSimulatedAdapter...
                         ::testing::Values(CarCase{"InProcessElm327", "sim:elm327", true},
                                           CarCase{"InProcessCanUsb", "sim:canusb", false},
                                           CarCase{"PtyCanUsb", "", false}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vcm::test
