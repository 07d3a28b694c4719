// The adapter dialogues on the wire, the window's states, time-outs and ports that cannot open.
#include "LinkRig.h"

#include <gtest/gtest.h>

#include <tuple>

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
    const std::tuple<bool, const char*, const char*> cases[] = {{true, kElm327Start, " "},
                                                                {false, "\r\r\r\rV\rN\rS6\rZ0\rX1\rO\r", "C\r"}};
    for (const auto& [elm327, start, stop] : cases) {
        SCOPED_TRACE(elm327 ? "ELM327" : "CANUSB");
        LinkRig rig(elm327);
        rig.adapter.onCommandClick(0);
        EXPECT_EQ(rig.adapterPort.written, start);
        expectRunning(rig, true);
        EXPECT_FALSE(rig.adapter.adapterError());
        // Every reply came at the next pass of the event loop: no command waited its time-out.
        EXPECT_LT(rig.clock.tickCount(), 200);

        rig.adapterPort.written.clear();
        rig.adapter.onCommandClick(1);
        EXPECT_EQ(rig.adapterPort.written, stop);
        expectRunning(rig, false);
        EXPECT_FALSE(rig.adapter.adapterError()) << "the adapter answered the stop";
        EXPECT_FALSE(rig.adapterPort.isOpen());
    }
}

TEST(AdapterControl, SilentElm327TimesOutOnTheClockAndEndsRunning)
{
    LinkRig rig(true);
    rig.adapterPort.script = nullptr; // no reply at all
    std::string errorAfterStep; // the error shown while the next command waits
    rig.onEvents = [&] {
        if (rig.adapterPort.writes.size() > errorAfterStep.size() + 1)
            errorAfterStep += rig.adapter.adapterError() ? 'E' : '-';
    };
    rig.adapter.startAcquisition();
    // ATZ and the five waited AT commands each wait the full reply time-out.
    EXPECT_GE(rig.clock.tickCount(), 6 * AdapterControl::ReplyTimeoutMs);
    EXPECT_LT(rig.clock.tickCount(), 6 * AdapterControl::ReplyTimeoutMs + 100);
    EXPECT_LT(rig.pump.waits(), 1300) << "one pass per 10 ms step, not a spin";
    EXPECT_EQ(errorAfterStep.substr(0, 2), "-E") << "ATZ's result is not looked at; ATSP6's is";
    EXPECT_FALSE(rig.adapter.adapterError()) << "ATMA (no wait) hid it again";
    expectRunning(rig, true);
}

TEST(AdapterControl, NoWaitCommandFromTheTickEndsAWaitAsAnswered)
{
    LinkRig rig(true);
    rig.adapterPort.script = nullptr;
    rig.link.AdapterPortOpen = 1;
    rig.adapterPort.open(3, "500000,N,8,1");
    rig.onEvents = [&, passes = 0]() mutable {
        if (++passes == 5) rig.adapter.sendCommand("ATMA", false); // the main tick's watchdog
    };
    EXPECT_EQ(rig.adapter.sendCommand("ATSP6", true), reply::Answered);
    EXPECT_EQ(rig.adapterPort.written, "ATSP6\rATMA\r");
    EXPECT_LT(rig.clock.tickCount(), 100) << "not the reply time-out";
}

// Each port opens with its settings; a port that cannot open is told (the adapter's as a
// critical problem that ends the start, the GPS's while acquisition goes on); the aux port
// is optional. (Starting again once the adapter is back: HeadlessReports.)
TEST(AdapterControl, PortsOpenWithTheirSettingsOrTellWhy)
{
    // Each case: the port looked at, the aux port number, what it was opened with ("" = not
    // opened), what the user is told ("" = nothing), whether acquisition runs.
    const std::tuple<const char*, FakePort LinkRig::*, int, const char*, const char*, bool> cases[] = {
        {"adapter", &LinkRig::adapterPort, 0, "3 500000,N,8,1", "", true},
        {"adapter fails", &LinkRig::adapterPort, 0, "3 500000,N,8,1",
         "Ne peut ouvrir le port COM [3] Essayez un autre port.\n/dev/ttyUSB2: No such file or directory", false},
        {"GPS fails", &LinkRig::gpsPort, 0, "5 4800,N,8,1",
         "Ne peut ouvrir le port GPS COM [5] (/dev/ttyUSB2). L'acquisition continue sans GPS.", true},
        {"aux", &LinkRig::auxPort, 4, "4 38400,N,8,1", "", true},
        {"aux on the adapter's port", &LinkRig::auxPort, 3, "", "", true},
        {"no aux", &LinkRig::auxPort, 0, "", "", true},
    };
    for (const auto& [name, portOfRig, aux, opened, told, running] : cases) {
        SCOPED_TRACE(name);
        LinkRig rig(true);
        rig.settings.EnableGPS = true;
        rig.settings.PortNumGPS = 5;
        rig.settings.PortNumM = static_cast<std::int16_t>(aux);
        FakePort& port = rig.*portOfRig;
        port.failOpen = *told != 0;
        port.device = "/dev/ttyUSB2";
        rig.adapter.startAcquisition();
        EXPECT_EQ(port.opened.empty() ? "" : port.opened[0], opened);
        EXPECT_EQ(rig.notices.told.empty() ? "" : rig.notices.told[0].text, told);
        for (const auto& notice : rig.notices.told)
            EXPECT_EQ(notice.icon, running ? MessageIcon::Exclamation : MessageIcon::Critical);
        expectRunning(rig, running);
        EXPECT_EQ(rig.adapterPort.written, running ? kElm327Start : "");
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

TEST(AdapterControl, StartAndStopCloseTheLogSetWhenLogfileIsOn)
{
    for (bool logfile : {true, false}) {
        LinkRig rig(false);
        rig.settings.Logfile = logfile;
        rig.log.openIfClosed();
        rig.adapter.startAcquisition();
        EXPECT_EQ(rig.log.isOpen(), !logfile) << "Logfile " << logfile;
        rig.log.openIfClosed();
        rig.adapter.stopAcquisition();
        EXPECT_EQ(rig.log.isOpen(), !logfile) << "Logfile " << logfile << " on Stop";
    }
}

} // namespace
} // namespace vcm::test
