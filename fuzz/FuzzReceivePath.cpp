// Any bytes arriving on the adapter and auxiliary ports, cut anywhere: reply
// recognition, the raw log and the auxiliary line reader must not crash, the reply
// state stays one of its three values, and the decoder is handed the chunk or nothing.
//
// Input: byte 0 chooses the adapter (bit 0 ELM327), the raw log (bit 1), whether a
// reply is awaited (bit 2) and the last command (bits 3-4); byte 1 seeds the cuts.
#include "MemoryFileSystem.h"
#include "common/Clock.h"
#include "dashboard/DashboardModel.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/LinkState.h"
#include "link/ReceivePath.h"
#include "logging/RunLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace {

class InputPort final : public vcm::SerialPort {
public:
    std::string input;
    bool open(int, std::string_view) override { return true; }
    bool isOpen() const override { return true; }
    void close() override {}
    void write(std::string_view) override {}
    std::string readAll() override { return std::exchange(input, {}); }
    void discardInput() override { input.clear(); }
    std::string deviceName() const override { return "fuzz"; }
    std::string errorText() const override { return {}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::uint8_t flags = data[0];
    std::uint32_t seed = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    vcm::MonitorSettings settings;
    settings.UseElm327 = flags & 1;
    settings.SuperLogFile = flags & 2;
    settings.SavePath = "/fuzz";
    vcm::LinkState link;
    link.ReplyState = (flags & 4) ? vcm::reply::Awaited : vcm::reply::Answered;
    const char* commands[4] = {"ATZ", " ", "", "0100"};
    link.LastCommand = commands[(flags >> 3) & 3];
    vcm::VehicleState vehicle;
    vcm::ManualClock clock(1000);
    vcm::fuzz::MemoryFileSystem fs;
    vcm::RunLog log(fs, clock, settings, "/fuzz");
    log.openIfClosed();
    InputPort adapter, aux;

    std::string_view chunk;
    vcm::DashboardModel dashboard(vehicle, settings);
    vcm::ReceivePath path(link, settings, dashboard, log, adapter, aux, [&](std::string_view decoded) {
        if (!decoded.empty() && decoded != chunk) std::abort();
    });

    std::string current;
    for (std::size_t p = 0; p < text.size();) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t n = std::min<std::size_t>(text.size() - p, 1 + (seed >> 16) % 64);
        current.assign(text.substr(p, n));
        chunk = current;
        if ((seed >> 8) & 1) {
            aux.input = current;
            path.onAuxReceive();
        } else {
            adapter.input = current;
            path.onAdapterReceive();
        }
        if (link.ReplyState < vcm::reply::Awaited || link.ReplyState > vcm::reply::Failed) std::abort();
        if ((seed >> 9) % 17 == 0) link.ReplyState = vcm::reply::Awaited;
        clock.advance(7);
        p += n;
    }
    return 0;
}
