// The real serial path: QSerialPort on a pseudo-terminal, Qt's event loop, the device
// map and the adapter dialogue, with the adapter played on the master side.
#include "FakePort.h"
#include "LinkRig.h"
#include "PtyPair.h"

#include "link/RoutedSerialPort.h"
#include "link/qt/QtEventPump.h"
#include "link/qt/QtPorts.h"
#include "link/qt/QtSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

int argc = 1;
char arg0[] = "test_link_qt";
char* argv[] = {arg0, nullptr};

class RecordingListener final : public PortListener {
public:
    void onReceive() override { ++receives; }
    void onError(PortError e) override { errors.push_back(e); }
    int receives = 0;
    std::vector<PortError> errors;
};

// Runs the event loop until done() or the time is up (real time, short).
template <class Done>
bool spinUntil(Done done, int ms = 2000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(QtSerialPort, OpenFailuresSayWhy)
{
    QCoreApplication app(argc, argv);
    const struct {
        const char* device;
        const char* settings;
    } cases[] = {{"/dev/vcm-no-such-device", "500000,N,8,1"}, {"/dev/null", "fast,N,8,1"}};
    for (const auto& c : cases) {
        QtSerialPort port(c.device);
        EXPECT_FALSE(port.open(1, c.settings)) << c.device;
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.errorText().empty()) << c.device;
    }
}

TEST(QtSerialPort, VanishedDeviceIsReportedLost)
{
    QCoreApplication app(argc, argv);
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->ok());
    QtSerialPort port(pty->slavePath());
    RecordingListener listener;
    port.setListener(&listener);
    ASSERT_TRUE(port.open(1, "500000,N,8,1"));

    pty->dropSlaveKeepAlive();
    pty->closeMaster();

    ASSERT_TRUE(spinUntil([&] { return !listener.errors.empty(); }));
    EXPECT_EQ(listener.errors.front(), PortError::DeviceLost);
    EXPECT_FALSE(port.isOpen());
    port.setListener(nullptr);
}

// The whole ELM327 start-up and stop over the pseudo-terminal, with the Qt event pump
// sleeping in the event loop while each command waits for its reply.
TEST(QtSerialPath, Elm327DialogueOverAPseudoTerminal)
{
    QCoreApplication app(argc, argv);
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    QtPorts ports({{3, pty.slavePath()}}, SystemClock{});

    // The adapter on the master side answers each line as the real interpreter does.
    ScriptedElm327 elm;
    std::string wire, line;
    QSocketNotifier notifier(pty.masterFd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        for (char ch : pty.receive()) {
            wire += ch;
            line += ch;
            if (ch == '\r') {
                pty.send(elm(line));
                line.clear();
            }
        }
    });

    MonitorSettings settings;
    settings.UseElm327 = true;
    settings.PortNum = 3;
    settings.BPS = 500000;
    MemoryView view;
    SystemClock clock;
    QtEventPump pump;
    TempFolder folder;
    DiskFileSystem fs;
    LinkState link;
    VehicleState vehicle;
    RunLog log(fs, clock, settings, folder.path());
    std::string decoded;
    ReceivePath receive(link, settings, view, vehicle, log, ports.adapter(), ports.aux(),
                        [&](std::string_view t) { decoded += t; });
    AdapterControl adapter(link, settings, view, clock, pump, LinkPorts{ports.adapter(), ports.aux(), ports.gps()},
                           vehicle, log, receive);
    PortToReceivePath listener(receive, adapter, false);
    ports.adapter().setListener(&listener);

    QElapsedTimer elapsed;
    elapsed.start();
    adapter.startAcquisition();

    EXPECT_EQ(wire, "ATZ\rATSP6\rATE0\rATH1\rATL1\rATCAF0\rATMA\r");
    EXPECT_TRUE(adapter.isRunning());
    EXPECT_FALSE(view.isVisible({"ErreurCan"}));
    EXPECT_LT(elapsed.elapsed(), 1500) << "every reply ended its wait";

    // Monitoring: the bus lines reach the decoder.
    pty.send("0B4 00 00 00 00 13 88 5C\r\n");
    ASSERT_TRUE(spinUntil([&] { return decoded.find("5C\r\n") != std::string::npos; }));

    wire.clear();
    adapter.stopAcquisition();
    EXPECT_EQ(wire, "  \r");
    EXPECT_FALSE(view.isVisible({"ErreurCan"}));
    EXPECT_FALSE(ports.adapter().isOpen());
    ports.adapter().setListener(nullptr);
}

} // namespace
} // namespace vcm::test
