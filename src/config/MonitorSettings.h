#pragma once
// The user's configuration, read once at start-up from the settings file and written
// back whole after every change (ReadSettings / WriteSettings in Settings.h).
#include <cstdint>
#include <string>

namespace vcm {

struct MonitorSettings {
    std::int16_t PortNum = 0;        // serial port number n of the CAN adapter ("COMn")
    std::int16_t PortNumM = 0;       // auxiliary port, 0 = none (never written back)
    std::int16_t PortNumGPS = 0;     // NMEA GPS receiver port, 0 = none
    std::int32_t BPS = 0;            // adapter port speed, bit/s
    bool UseElm327 = false;          // adapter kind: true = ELM327, false = CANUSB
    bool Logfile = false;            // close and restart the log set at each stop/start
    bool SuperLogFile = false;       // also write the raw adapter text and the GPS text
    bool MetricUnits = false;        // true: km, km/h, L/100 km; false: miles, mph, MPG
    bool Celsius = false;            // true: degrees Celsius; false: Fahrenheit
    std::string SavePath;            // folder of the log and trip files, no trailing separator
    bool Japanese = false;           // font of the save-folder box only
    bool EnableDynamicVolume = false;// kept and stored, read by nothing else
    bool EnableGPS = false;          // read the GPS receiver and log its columns

    bool operator==(const MonitorSettings&) const = default;
};

} // namespace vcm
