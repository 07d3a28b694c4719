#include "link/sim/ElmText.h"

#include "link/sim/HexText.h"

namespace vcm::sim {

void appendElmMonitorLine(std::string& out, const CanFrame& frame, const ElmFormat& format)
{
    std::size_t first = 0;
    std::size_t count = frame.length;
    if (format.autoFormat && frame.length > 1 && frame.data[0] >= 1 && frame.data[0] < frame.length) {
        first = 1;
        count = frame.data[0];
    }
    bool needSeparator = false;
    auto separate = [&] {
        if (needSeparator && format.spaces) out.push_back(' ');
        needSeparator = true;
    };
    if (format.headers) {
        separate();
        appendHex(out, frame.id, 3);
    }
    if (format.showLength) {
        separate();
        appendHex(out, frame.length, 1);
    }
    for (std::size_t k = first; k < first + count; ++k) {
        separate();
        appendHex(out, frame.data[k], 2);
    }
    out.push_back('\r');
    if (format.lineFeeds) out.push_back('\n');
}

} // namespace vcm::sim
