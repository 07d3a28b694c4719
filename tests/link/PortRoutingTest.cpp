// Port numbers to devices, settings texts, and the port that follows its number.
#include "FakePort.h"

#include "link/DeviceMap.h"
#include "link/RoutedSerialPort.h"
#include "link/SerialSettings.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vcm::test {
namespace {

TEST(DeviceMap, EachPlatformMapsPortNumbersPredictably)
{
    const std::map<int, std::string> overrides{{2, "/dev/rfcomm0"}, {5, "sim:canusb"}};
    const std::vector<std::string> macUsb{"/dev/cu.usbserial-B2", "/dev/cu.usbmodem14101", "/dev/cu.usbserial-A1"};
    using enum Platform;
    const std::tuple<Platform, int, const char*> cases[] = {
        {Windows, 1, "COM1"}, {Windows, 12, "COM12"}, {Windows, 2, "/dev/rfcomm0"}, {Linux, 1, "/dev/ttyUSB0"},
        {Linux, 4, "/dev/ttyUSB3"}, {Linux, 2, "/dev/rfcomm0"}, {Linux, 5, "sim:canusb"},
        {MacOs, 1, "/dev/cu.usbmodem14101"}, {MacOs, 3, "/dev/cu.usbserial-B2"}, {MacOs, 4, "/dev/cu.usbserial-4"},
        {MacOs, 2, "/dev/rfcomm0"},
    };
    for (const auto& [platform, number, device] : cases)
        EXPECT_EQ(DeviceMap(overrides, platform, macUsb).deviceFor(number), device) << int(platform) << " " << number;
}

TEST(SerialSettings, ReadsTheSettingsTexts)
{
    const auto fields = [](const SerialSettings& s) { return std::tuple(s.baud, s.parity, s.dataBits, s.stopBits); };
    const std::pair<const char*, SerialSettings> valid[] = {
        {"500000,N,8,1", {500000, 'N', 8, 1}}, {"4800,N,8,1", {4800, 'N', 8, 1}}, {"38400,e,7,2", {38400, 'E', 7, 2}}};
    for (const auto& [text, expected] : valid)
        EXPECT_EQ(fields(parseSerialSettings(text).value_or(SerialSettings{})), fields(expected)) << text;
    for (const char* text : {"0,N,8,1", "9600,X,8,1", "9600,N,9,1", "9600,N,8,3", "9600,N,8", "9600,N,8,1,1", "fast,N,8,1"})
        EXPECT_FALSE(parseSerialSettings(text)) << text;
}

TEST(RoutedSerialPort, BecomesTheDeviceOfEachOpenAndForwardsItsEvents)
{
    const DeviceMap map({{1, "/dev/ttyA"}, {2, "/dev/ttyB"}}, Platform::Linux);
    std::map<std::string, FakePort*> made;
    RoutedSerialPort port(map, [&](const std::string& device) {
        auto p = std::make_unique<FakePort>();
        p->device = device;
        made[device] = p.get();
        return p;
    });
    RecordingListener listener;
    port.setListener(&listener);

    // The user picks another port number between runs: each open follows it.
    for (const auto& [number, device] : {std::pair{1, "/dev/ttyA"}, std::pair{2, "/dev/ttyB"}}) {
        ASSERT_TRUE(port.open(number, "500000,N,8,1"));
        EXPECT_EQ(port.deviceName(), device);
        port.write("V\r");
        EXPECT_EQ(made[device]->written, "V\r");
        made[device]->receive("V1011\r");
        EXPECT_EQ(port.readAll(), "V1011\r");
        made[device]->raise(PortError::DeviceLost);
    }
    EXPECT_EQ(listener.receives, 2);
    EXPECT_EQ(listener.errors, std::vector<PortError>(2, PortError::DeviceLost));

    // A device nobody can make (the simulated car not built in) fails plainly.
    RoutedSerialPort none(map, [](const std::string&) { return std::unique_ptr<SerialPort>(); });
    EXPECT_FALSE(none.open(3, "500000,N,8,1"));
    EXPECT_EQ(none.deviceName(), "/dev/ttyUSB2");
    EXPECT_FALSE(none.errorText().empty());
    none.write("x"); // nothing to write to: no crash
    EXPECT_EQ(none.readAll(), "");
}

} // namespace
} // namespace vcm::test
