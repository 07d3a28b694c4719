// The adapter dialogues on the wire, the window's states, time-outs and ports that cannot open.
#include "LinkRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

const char* const kElm327Start = "ATZ\rATSP6\rATE0\rATH1\rATL1\rATCAF0\rATMA\r";

void expectRunning(const LinkRig& rig, bool running)
{
    EXPECT_EQ(rig.link.AdapterPortOpen, running ? 1 : 0);
    EXPECT_EQ(rig.adapter.runState(), running ? RunState::Running : RunState::Stopped);
    EXPECT_EQ(rig.adapter.isRunning(), running);
}

TEST(AdapterControl, StartAndStopAreSentByteForByte)
{
    const struct {
        bool elm327;
        const char* start;
        const char* stop;
    } cases[] = {{true, kElm327Start, " "}, {false, "\r\r\r\rV\rN\rS6\rZ0\rX1\rO\r", "C\r"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elm327 ? "ELM327" : "CANUSB");
        LinkRig rig(c.elm327);
        const double startTick = rig.clock.tickCount();
        rig.adapter.onCommandClick(0);
        EXPECT_EQ(rig.adapterPort.written, c.start);
        ASSERT_EQ(rig.adapterPort.openCalls.size(), 1u);
        EXPECT_EQ(rig.adapterPort.openCalls[0].number, 3);
        EXPECT_EQ(rig.adapterPort.openCalls[0].settings, "500000,N,8,1");
        expectRunning(rig, true);
        EXPECT_FALSE(rig.adapter.adapterError());
        // Every reply came at the next pass of the event loop: no command waited its time-out.
        EXPECT_LT(rig.clock.tickCount() - startTick, 200);

        rig.adapterPort.written.clear();
        rig.adapter.onCommandClick(1);
        EXPECT_EQ(rig.adapterPort.written, c.stop);
        expectRunning(rig, false);
        EXPECT_FALSE(rig.adapter.adapterError()) << "the adapter answered the stop";
        EXPECT_FALSE(rig.adapterPort.isOpen());
    }
}

TEST(AdapterControl, SilentElm327TimesOutOnTheClockAndEndsRunning)
{
    LinkRig rig(true);
    rig.adapterPort.script = nullptr; // no reply at all
    std::vector<bool> errorAfterStep;
    rig.onEvents = [&] { // ErreurCan while the next command waits
        if (rig.adapterPort.writes.size() > errorAfterStep.size() + 1)
            errorAfterStep.push_back(rig.adapter.adapterError());
    };
    const double start = rig.clock.tickCount();

    rig.adapter.startAcquisition();

    // ATZ and the five waited AT commands each wait the full reply time-out.
    const double waited = rig.clock.tickCount() - start;
    EXPECT_GE(waited, 6 * AdapterControl::ReplyTimeoutMs);
    EXPECT_LT(waited, 6 * AdapterControl::ReplyTimeoutMs + 100);
    EXPECT_LT(rig.pump.waits(), 1300) << "one pass per 10 ms step, not a spin";
    ASSERT_GE(errorAfterStep.size(), 3u);
    EXPECT_FALSE(errorAfterStep[0]) << "ATZ's result is not looked at";
    EXPECT_TRUE(errorAfterStep[1]) << "while ATE0 waits, ATSP6 has failed";
    EXPECT_FALSE(rig.adapter.adapterError()) << "ATMA (no wait) hid it again";
    expectRunning(rig, true);
}

TEST(AdapterControl, NoWaitCommandFromTheTickEndsAWaitAsAnswered)
{
    LinkRig rig(true);
    rig.adapterPort.script = nullptr;
    rig.link.AdapterPortOpen = 1;
    rig.adapterPort.open(3, "500000,N,8,1");
    int passes = 0;
    rig.onEvents = [&] {
        if (++passes == 5)
            rig.adapter.sendCommand("ATMA", false); // the main tick's watchdog
    };
    const double start = rig.clock.tickCount();
    EXPECT_EQ(rig.adapter.sendCommand("ATSP6", true), 1);
    EXPECT_EQ(rig.adapterPort.written, "ATSP6\rATMA\r");
    EXPECT_LT(rig.clock.tickCount() - start, 100);
}

TEST(AdapterControl, ClosedPortSendsNothingAndDoesNotWait)
{
    LinkRig rig(true);
    EXPECT_EQ(rig.adapter.sendCommand("ATZ", true), 0);
    EXPECT_EQ(rig.adapterPort.written, "");
    EXPECT_EQ(rig.pump.waits(), 0);
}

TEST(AdapterControl, AdapterPortThatCannotOpenShowsTheMessageAndStaysStopped)
{
    LinkRig rig(false);
    rig.settings.PortNum = 7;
    rig.adapterPort.failOpen = true;
    rig.adapterPort.device = "/dev/ttyUSB2";
    rig.adapter.startAcquisition();
    ASSERT_EQ(rig.notices.told.size(), 1u);
    EXPECT_EQ(rig.notices.told[0].title, "PROBLEME!");
    EXPECT_EQ(rig.notices.told[0].text,
              "Ne peut ouvrir le port COM [7] Essayez un autre port.\n/dev/ttyUSB2: No such file or directory");
    EXPECT_EQ(rig.notices.told[0].icon, MessageIcon::Critical);
    expectRunning(rig, false);
    EXPECT_EQ(rig.adapterPort.written, "");

    rig.adapterPort.failOpen = false; // plugged in again: the next Start runs
    rig.adapter.startAcquisition();
    expectRunning(rig, true);
}

TEST(AdapterControl, GpsPortThatCannotOpenIsReportedAndAcquisitionGoesOn)
{
    LinkRig rig(true);
    rig.settings.EnableGPS = true;
    rig.settings.PortNumGPS = 5;
    rig.gpsPort.failOpen = true;
    rig.gpsPort.device = "/dev/ttyUSB4";
    rig.adapter.startAcquisition();
    ASSERT_EQ(rig.gpsPort.openCalls.size(), 1u);
    EXPECT_EQ(rig.gpsPort.openCalls[0].settings, "4800,N,8,1");
    ASSERT_EQ(rig.notices.told.size(), 1u);
    EXPECT_NE(rig.notices.told[0].text.find("GPS COM [5]"), std::string::npos) << rig.notices.told[0].text;
    EXPECT_NE(rig.notices.told[0].text.find("/dev/ttyUSB4"), std::string::npos);
    expectRunning(rig, true);
    EXPECT_EQ(rig.adapterPort.written, kElm327Start);
}

TEST(AdapterControl, AuxPortOpensOnlyWhenSeparateAndNumbered)
{
    for (int aux : {0, 3, 4}) {
        LinkRig rig(false); // adapter on port 3
        rig.settings.PortNumM = static_cast<std::int16_t>(aux);
        rig.adapter.startAcquisition();
        ASSERT_EQ(rig.auxPort.isOpen(), aux == 4) << aux;
        if (aux == 4) {
            EXPECT_EQ(rig.auxPort.openCalls[0].number, 4);
            EXPECT_EQ(rig.auxPort.openCalls[0].settings, "38400,N,8,1");
        }
    }
}

TEST(AdapterControl, StopDuringTheStartDialogueLeavesTheWindowStopped)
{
    LinkRig rig(true);
    rig.adapterPort.script = nullptr;
    rig.onEvents = [&] {
        if (rig.adapterPort.writes.size() != 2 || rig.link.AdapterPortOpen != 1) return;
        EXPECT_TRUE(rig.adapter.runState() == RunState::Starting && rig.adapter.isRunning());
        rig.adapter.onCommandClick(1); // Stop clicked while ATSP6 waits
    };
    rig.adapter.startAcquisition();
    expectRunning(rig, false);
    EXPECT_EQ(rig.adapterPort.written, "ATZ\rATSP6\r ");
}

TEST(AdapterControl, StartClosesThePreviousLogSetWhenLogfileIsOn)
{
    for (bool logfile : {true, false}) {
        LinkRig rig(false);
        rig.settings.Logfile = logfile;
        rig.log.openIfClosed();
        ASSERT_TRUE(rig.log.isOpen());
        rig.adapter.startAcquisition();
        EXPECT_EQ(rig.log.isOpen(), !logfile) << "Logfile " << logfile;
    }
}

} // namespace
} // namespace vcm::test
