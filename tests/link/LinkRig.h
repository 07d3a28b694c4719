#pragma once
// The adapter link assembled over fake ports and a manual clock: what the session object
// builds, minus the decoder (its input is recorded instead).
#include "FakePort.h"
#include "support/TempFolder.h"

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Notices.h"
#include "dashboard/DashboardModel.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/AdapterControl.h"
#include "link/LinkState.h"
#include "link/ManualEventPump.h"
#include "link/ReceivePath.h"
#include "logging/RunLog.h"

#include <string>
#include <vector>

namespace vcm::test {

// A realistic ELM327: CR line ends until ATL1, echo until ATE0, ">" prompt, "?" for
// what it does not know; "ATMA" starts monitoring (no prompt), any text stops it.
class ScriptedElm327 {
public:
    std::string operator()(const std::string& written)
    {
        if (written == "ATZ\r") {
            echo_ = true;
            lineFeeds_ = false;
            return "ATZ\r\r\rELM327 v1.5\r\r>";
        }
        const std::string nl = lineFeeds_ ? "\r\n" : "\r";
        const std::string head = echo_ ? written : "";
        if (written == "ATE0\r")
            echo_ = false;
        if (written == "ATL1\r")
            lineFeeds_ = true;
        if (written == "ATMA\r")
            return head;
        if (written.rfind("AT", 0) == 0)
            return head + "OK" + nl + nl + ">";
        if (written.find_first_not_of(' ') == std::string::npos) // the stop: one space, no CR
            return "STOPPED" + nl + nl + ">";
        return head + "?" + nl + nl + ">";
    }

private:
    bool echo_ = true;
    bool lineFeeds_ = false;
};

// A Lawicel CANUSB: CR for success, "V1011"/"NA123" for the queries, BEL for "C" while closed.
inline std::string canUsbReply(const std::string& written)
{
    if (written == "V\r")
        return "V1011\r";
    if (written == "N\r")
        return "NA123\r";
    if (written.rfind("t", 0) == 0)
        return "z\r";
    return "\r";
}

// Adapter on port 3 at 500 kbit/s, metric units, answering as the real one does.
inline void setUpAdapter(MonitorSettings& settings, FakePort& port, bool elm327, const std::string& folder)
{
    settings.UseElm327 = elm327;
    settings.PortNum = 3;
    settings.BPS = 500000;
    settings.MetricUnits = true;
    settings.Celsius = true;
    settings.SavePath = folder;
    port.script = elm327 ? FakePort::Script(ScriptedElm327{}) : FakePort::Script(canUsbReply);
}

// Port events to the receive path and the adapter control, wired as the session wires them.
struct PortToReceivePath final : PortListener {
    PortToReceivePath(ReceivePath& receive, AdapterControl& adapter, bool isAux) : r(receive), a(adapter), aux(isAux) {}
    void onReceive() override { aux ? r.onAuxReceive() : r.onAdapterReceive(); }
    void onError(PortError e) override
    {
        if (e == PortError::DeviceLost)
            a.onDeviceLost(aux ? PortRole::Aux : PortRole::Adapter);
        else
            aux ? r.onAuxError(e) : r.onAdapterError(e);
    }
    ReceivePath& r;
    AdapterControl& a;
    bool aux;
};

struct LinkRig {
    explicit LinkRig(bool elm327)
    {
        setUpAdapter(settings, adapterPort, elm327, folder.path());
        adapterPort.setListener(&adapterListener);
        auxPort.setListener(&auxListener);
        pump.setEvents([this] {
            adapterPort.deliver();
            if (onEvents)
                onEvents();
        });
        adapter.showStopped();
    }
    ~LinkRig()
    {
        adapterPort.setListener(nullptr);
        auxPort.setListener(nullptr);
    }

    TempFolder folder;
    MonitorSettings settings;
    NoticeList notices;
    ManualClock clock;
    ManualEventPump pump{clock, 10};
    FakePort adapterPort, auxPort, gpsPort;
    DiskFileSystem fs;
    LinkState link;
    VehicleState vehicle;
    RunLog log{fs, clock, settings, folder.path()};
    std::vector<std::string> decoded;
    DashboardModel dashboard{vehicle, settings};
    ReceivePath receive{link, settings, log, adapterPort, auxPort,
                        [this](std::string_view t) { decoded.emplace_back(t); }, [this] { dashboard.blinkActivity(); }};
    AdapterControl adapter{link, settings, notices, clock, pump, LinkPorts{adapterPort, auxPort, gpsPort},
                           vehicle, log, receive};
    PortToReceivePath adapterListener{receive, adapter, false};
    PortToReceivePath auxListener{receive, adapter, true};
    std::function<void()> onEvents;
};

} // namespace vcm::test
