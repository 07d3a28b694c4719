#pragma once
// ReadSettings / WriteSettings: MonitorSettings to and from the settings file.
//
// A file written from scratch with the presets holds (CR LF line ends):
//   [Comm]
//   Interface=ELM327
//   PortNum=1
//   BPS=500000
//   PortNum GPS=0
//   [CAN232]
//   Logfile=False
//   SuperLogfile=False
//   [GPS]
//   EnableGPS=False
//   [Unit]
//   System=SI
//   Temp=Celsius
//   [File]
//   SavePath=/home/driver/VeloxCanMoni
//   Language=English
//   EnableDynamicVolume=False
// "PortNum M" (auxiliary port) and the "[Ports]" device map are read, never written: they
// exist only when added by hand, and every write keeps their lines.
#include "config/MonitorSettings.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

class FileSystem;

// Fills every field from the file. A missing file, section or key gives the preset; a
// port or speed text that is not a number in the field's range keeps the preset
// (PortNumGPS keeps the value it had in `previous`). defaultSaveFolder is used when the
// file has no "SavePath".
MonitorSettings readSettings(FileSystem& fs, const std::string& settingsFile, const std::string& defaultSaveFolder,
                             const MonitorSettings& previous = {});

// Writes every field but PortNumM, in one atomic replace of the file; false when the
// file could not be written, or exists but could not be read (the old file is then
// left as it was).
bool writeSettings(FileSystem& fs, const std::string& settingsFile, const MonitorSettings& settings);

// "" when the settings file is missing or was read; otherwise what the user must be
// told: "could not read <path>: <reason> (the presets are used, ...)".
std::string settingsReadProblem(FileSystem& fs, const std::string& settingsFile);

// The serial device map of Linux and macOS, from hand-added lines such as
//   [Ports]
//   COM1=/dev/ttyUSB0
//   COM3=/dev/serial/by-id/usb-FTDI_FT232R-if00-port0
// -> {1: "/dev/ttyUSB0", 3: "/dev/serial/by-id/..."}. Keys other than "COM" + a number
// from 1 to 32767, and empty paths, are skipped; the first of two equal keys wins.
std::map<int, std::string> readPortMap(FileSystem& fs, const std::string& settingsFile);

// A number as the settings file may hold it ("3", " 3 ", "-2", "2.5", "1E3"), rounded to
// the nearest whole number, halves to the even neighbour; nothing for text that is not a
// number or does not fit in [minimum, maximum].
std::optional<std::int64_t> parseWholeNumber(std::string_view text, std::int64_t minimum, std::int64_t maximum);

// A save folder without its one trailing separator: "C:\Logs\" -> "C:\Logs", "C:\" -> "C:".
// A trailing '/' goes too, except for the root "/" of Unix systems.
std::string withoutTrailingSeparator(std::string folder);

} // namespace vcm
