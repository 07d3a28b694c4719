// The acquisition loop as a Qt host runs it: real timers, the Qt event pump and the port
// routing, against the simulated car in-process. (Over a pseudo-terminal through
// QSerialPort: HeadlessTest.)
#include "QtLoop.h"
#include "support/MonitorTestView.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include "common/Notices.h"
#include "run/Monitor.h"
#include "run/qt/MonitorTimers.h"
#include "link/qt/QtEventPump.h"
#include "sources/qt/QtPorts.h"
#include "logging/RunLog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vcm::test {
namespace {

struct CarCase {
    const char* name;
    const char* device;
    bool elm327;
};

class SimulatedCarSession : public ::testing::TestWithParam<CarCase> {};

TEST_P(SimulatedCarSession, AcquiresDecodesLogsAndStops)
{
    const auto& c = GetParam();
    QCoreApplication app(qtArgc, qtArgv);
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
    QtPorts ports({{2, c.device}}, clock);
    Monitor monitor(settings, notices, clock, fs, ports.adapter(), ports.aux(), ports.gps(), pump, ',', folder.path());
    MonitorTimers timers(monitor);

    monitor.startAcquisition();
    ASSERT_TRUE(monitor.isRunning()) << ports.adapter().errorText();
    // The car's frames reach the live values and the value log gets its rows.
    const VehicleState& v = MonitorTestView::vehicle(monitor);
    ASSERT_TRUE(runUntil([&] { return v.StateOfCharge > 0 && monitor.logs().rowCount() > 10; }, 4000));
    EXPECT_TRUE(v.BatteryVoltage > 150 && v.BatteryVoltage < 300) << v.BatteryVoltage;
    const std::string csv = monitor.logs().fileBase() + ".csv";

    monitor.stopAcquisition();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_FALSE(monitor.dashboard().adapterError.value) << "the adapter answered every command, the stop included";
    EXPECT_FALSE(monitor.logs().isOpen()) << "Logfile on: the set closes on Stop";
    // Every row has the header's columns (the CANUSB's with record C3 polled).
    const auto rows = linesOf(folder.read(csv));
    ASSERT_GE(rows.size(), 11u);
    for (const auto& row : rows)
        EXPECT_EQ(std::count(row.begin(), row.end(), ';'), std::count(rows[0].begin(), rows[0].end(), ';')) << row;
}

INSTANTIATE_TEST_SUITE_P(Adapters, SimulatedCarSession,
                         ::testing::Values(CarCase{"InProcessElm327", "sim:elm327", true},
                                           CarCase{"InProcessCanUsb", "sim:canusb", false}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vcm::test
