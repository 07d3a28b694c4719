// The adapters' frame lines as the simulated car and the exports write them, read back (the
// live formats over whole drives: the raw logs and replays of GoldenOutputTest).
#include "link/canformat/AdapterText.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vcm {
namespace {

CanFrame frame(std::uint16_t id, std::vector<std::uint8_t> bytes)
{
    CanFrame f;
    f.id = id;
    f.length = static_cast<std::uint8_t>(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) f.data[i] = bytes[i];
    return f;
}

TEST(AdapterText, EachAdaptersLineWrittenAndReadBack)
{
    using Write = std::function<void(std::string&, const CanFrame&)>;
    auto elm = [](ElmFormat format) -> Write { return [=](std::string& o, const CanFrame& f) { appendElmMonitorLine(o, f, format); }; };
    auto lawicel = [](int stamp) -> Write { return [=](std::string& o, const CanFrame& f) { appendLawicelFrame(o, f, stamp); }; };
    const auto elmDefault = elm({}), canusb = lawicel(-1);
    const CanFrame single = frame(0x7E8, {0x03, 0x41, 0x0D, 0x32, 0, 0, 0, 0});
    const struct {
        Write write;
        CanFrame f;
        const char* text;
        bool readsBack; // as the same frame, line end taken off (the formats the adapters use live)
    } cases[] = {
        {elmDefault, frame(0x520, {}), "520\r\n", true},
        {canusb, frame(0x520, {}), "t5200\r", true},
        {lawicel(0xEA5F), frame(0x7EA, {0x10, 0x27, 0x61, 0xC3, 0x0C, 0x00, 0xFF, 0x03}), "t7EA8102761C30C00FF03EA5F\r", true},
        {lawicel(0x0012), frame(0x3CA, {}), "t3CA00012\r", true},
        // The ELM327's other settings (the simulated adapter answers AT commands).
        {elm({true, false, true, false, false}), single, "7E803410D3200000000\r\n", false},
        {elm({false, true, true, false, false}), single, "03 41 0D 32 00 00 00 00\r\n", false},
        {elm({true, true, false, false, false}), single, "7E8 03 41 0D 32 00 00 00 00\r", false},
        {elm({true, true, true, true, false}), single, "7E8 8 03 41 0D 32 00 00 00 00\r\n", false},
        {elm({true, true, true, false, true}), single, "7E8 41 0D 32\r\n", false},
    };
    for (const auto& c : cases) {
        std::string out;
        c.write(out, c.f);
        EXPECT_EQ(out, c.text);
        if (!c.readsBack) continue;
        const bool isElm = out.back() == '\n';
        EXPECT_EQ(parseAdapterLine(out.substr(0, out.size() - (isElm ? 2 : 1)), isElm ? AdapterForm::Elm327 : AdapterForm::CanUsb), c.f)
            << c.text;
    }
}

TEST(LawicelText, TransmitCommands)
{
    EXPECT_EQ(parseLawicelTransmit("t7E280221C30000000000"), frame(0x7E2, {0x02, 0x21, 0xC3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(parseLawicelTransmit("t1230"), frame(0x123, {}));
    // A transmit command carries no time stamp: a stamped line is not one.
    for (const char* bad : {"t7E2", "t7E29", "t7E2800", "t80010", "T7E2100", "t7E2100G", "t7E21001", "t7E21001A2B"})
        EXPECT_FALSE(parseLawicelTransmit(bad)) << bad;
}

} // namespace
} // namespace vcm
