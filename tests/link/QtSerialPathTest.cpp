// The real serial port: QSerialPort's open failures and a pseudo-terminal that vanishes.
// (The whole dialogue over a pseudo-terminal runs in QtSessionTest.)
#include "PtyPair.h"
#include "QtLoop.h"
#include "support/RecordingListener.h"

#include "link/qt/QtSerialPort.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

TEST(QtSerialPort, OpenFailuresSayWhy)
{
    QCoreApplication app(qtArgc, qtArgv);
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
    QCoreApplication app(qtArgc, qtArgv);
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    QtSerialPort port(pty.slavePath());
    RecordingListener listener;
    port.setListener(&listener);
    ASSERT_TRUE(port.open(1, "500000,N,8,1"));

    pty.unplug();

    ASSERT_TRUE(runUntil([&] { return !listener.errors.empty(); }));
    EXPECT_EQ(listener.errors.front(), PortError::DeviceLost);
    EXPECT_FALSE(port.isOpen());
    port.setListener(nullptr);
}

} // namespace
} // namespace vcm::test
