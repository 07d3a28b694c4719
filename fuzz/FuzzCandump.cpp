// Any bytes as candump lines: every line parses without crashing, and a frame written
// back with appendCandumpLine reads back as the same stamp, interface and frame.
#include "link/canformat/CandumpLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        const vcm::CandumpLine parsed = vcm::parseCandumpLine(line);
        if (parsed.kind != vcm::CandumpLine::Kind::Frame) continue;
        if (parsed.frame.length > 8) std::abort();
        out.clear();
        vcm::appendCandumpLine(out, parsed.timeUs, parsed.interface, parsed.frame);
        if (out.empty() || out.back() != '\n') std::abort();
        out.pop_back();
        const vcm::CandumpLine again = vcm::parseCandumpLine(out);
        if (again.kind != vcm::CandumpLine::Kind::Frame || again.timeUs != parsed.timeUs ||
            again.interface != parsed.interface || again.frame.id != parsed.frame.id ||
            again.frame.length != parsed.frame.length)
            std::abort();
        for (std::size_t i = 0; i < parsed.frame.length; ++i)
            if (again.frame.data[i] != parsed.frame.data[i]) std::abort();
    }
    return 0;
}
