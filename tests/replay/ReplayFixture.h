#pragma once
// Helpers of the replay tests: a drive written by hand, the value log read back as rows
// of fields, and a fixed time zone so that local times are known.
#include "link/replay/RecordingSource.h"
#include "link/replay/ReplaySession.h"

#include "TempDir.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace vcm::test {

// Local time = UTC for the duration of a test.
class UtcZone {
public:
    UtcZone()
    {
        if (const char* tz = std::getenv("TZ"))
            old_ = tz, hadOld_ = true;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone()
    {
        if (hadOld_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

// 10 s at a steady 36.00 km/h, engine at 3072 rpm with injector 2048, coolant 90 C,
// state of charge 50 %, from 1700000000 s (2023-11-14 22:13:20 UTC), in candump form:
//   t = 0       3C8 (rpm), 520 (injector), 52C (coolant), 3CB (charge), 0B4 (speed)
//   every 20 ms 0B4,   every 100 ms 3CA at +40 ms (the integration clock)
inline std::string steadyDriveCandump(int seconds = 10)
{
    std::string out;
    auto line = [&](int ms, const char* frame) {
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "(1700000%03d.%06d) can0 ", ms / 1000, (ms % 1000) * 1000);
        out += stamp;
        out += frame;
        out += '\n';
    };
    line(0, "3C8#000060");
    line(0, "520#000800");
    line(0, "52C#00B4");
    line(0, "3CB#0000006400190000");
    for (int ms = 0; ms < seconds * 1000; ms += 20) {
        line(ms, "0B4#00000000000E10");
        if (ms % 100 == 40)
            line(ms, "3CA#0000000000");
    }
    return out;
}

// The lines of a file without their CR LF.
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

inline std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = line.find(';', at);
        fields.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            return fields;
        at = end + 1;
    }
}

// Files of a folder by name, ".part" files included.
inline std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vcm::test
