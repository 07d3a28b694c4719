#pragma once
// Recordings of a simulated drive, for the repository's samples and for replay:
//   Elm327   everything a simulated ELM327 sends while a host runs the dashboard's
//            start-up (ATZ ATSP6 ATE0 ATH1 ATL1 ATCAF0 ATMA) and then listens
//   CanUsb   everything a simulated CANUSB sends while a host runs the dashboard's
//            start-up (four CRs, V N S6 Z0 X1 O) and polls record C3 every 100 ms
//   Candump  the bus itself as a candump log, time stamps from 1700000000.000000 on
// Both adapters run at 500000 bit/s. The text stops at the last complete line before
// the given number of seconds of driving. The same seed gives the same bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vcm::sim {

enum class RecordFormat { Elm327, CanUsb, Candump };

std::optional<RecordFormat> recordFormatNamed(std::string_view name); // "elm327", "canusb", "candump"

std::string recordDrive(RecordFormat format, double seconds, std::uint64_t seed);

} // namespace vcm::sim
