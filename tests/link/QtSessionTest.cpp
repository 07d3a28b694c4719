// The program's acquisition loop as a Qt host runs it: real timers, the Qt event pump
// and the port routing, against the simulated car in-process and, when the tool is
// built, over a pseudo-terminal served by vcm-simcar.
#include "support/TempFolder.h"

#include "common/MemoryView.h"
#include "link/Monitor.h"
#include "link/qt/MonitorTimers.h"
#include "link/qt/QtEventPump.h"
#include "link/qt/QtPorts.h"
#include "logging/RunLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vcm::test {
namespace {

int argc = 1;
char arg0[] = "test_link_qt_session";
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

std::size_t countLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    std::size_t n = 0;
    for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2)
        ++n;
    return n;
}

struct CarCase {
    const char* name;
    const char* device;
    bool elm327;
};

class SimulatedCarSession : public ::testing::TestWithParam<CarCase> {};

TEST_P(SimulatedCarSession, AcquiresDecodesLogsAndStops)
{
    const auto& c = GetParam();
    QCoreApplication app(argc, argv);
    TempFolder folder;
    MonitorSettings settings;
    settings.UseElm327 = c.elm327;
    settings.PortNum = 1;
    settings.BPS = 500000;
    settings.MetricUnits = true;
    settings.Celsius = true;
    settings.SavePath = folder.path();
    SystemClock clock;
    MemoryView view;
    DiskFileSystem fs;
    QtEventPump pump;
    QtPorts ports({{1, c.device}}, clock);
    Monitor monitor(settings, view, clock, fs, ports.adapter(), ports.aux(), ports.gps(), pump, '.', folder.path());
    MonitorTimers timers(monitor);

    monitor.startAcquisition();
    ASSERT_TRUE(monitor.isRunning()) << ports.adapter().errorText();
    EXPECT_FALSE(view.isVisible({"ErreurCan"}));

    // The car's frames reach the live values and the value log gets its rows.
    const VehicleState& v = monitor.vehicle();
    ASSERT_TRUE(runUntil([&] { return v.BatteryVoltage > 0 && v.StateOfCharge > 0 && monitor.runLog().rowCount() > 5; },
                         3000))
        << "voltage " << v.BatteryVoltage << " SOC " << v.StateOfCharge << " rows " << monitor.runLog().rowCount();
    EXPECT_GT(v.BatteryVoltage, 150);
    EXPECT_LT(v.BatteryVoltage, 300);
    const std::string csv = monitor.runLog().fileBase() + ".csv";

    monitor.stopAcquisition();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_FALSE(view.isVisible({"ErreurCan"})) << "the adapter answered the stop";
    EXPECT_GE(countLines(csv), 6u);
    EXPECT_TRUE(std::filesystem::exists(csv));
}

INSTANTIATE_TEST_SUITE_P(InProcess, SimulatedCarSession,
                         ::testing::Values(CarCase{"Elm327", "sim:elm327", true},
                                           CarCase{"CanUsb", "sim:canusb", false}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vcm::test
