#pragma once
// Why: the three ports' settings texts and the one way a port is (re)opened.
#include "link/SerialPort.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vcm {

inline constexpr std::string_view AuxSettings = "38400,N,8,1";
inline constexpr std::string_view GpsSettings = "4800,N,8,1";
// The adapter's speed comes from the settings: "115200,N,8,1".
std::string adapterSettingsText(std::int32_t bps);

// A port left open (an earlier failed start) is reopened, not refused as busy; what
// arrived before the open is discarded. False when the port cannot be opened.
bool reopenPort(SerialPort& port, int number, std::string_view settings);

// "device: reason", or "device: no reason given".
std::string deviceAndReason(const SerialPort& port);

} // namespace vcm
