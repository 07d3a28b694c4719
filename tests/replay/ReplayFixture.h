#pragma once
// Helpers of the replay tests: a fixed time zone so that local times are known, the
// notes a reader gives, the chunks it reads, and a drive written by hand.
#include "sources/replay/RecordingSource.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vcm::test {

// Local time = UTC for the duration of a test.
class UtcZone {
public:
    UtcZone()
    {
        if (const char* tz = std::getenv("TZ")) old_ = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone()
    {
        if (old_) setenv("TZ", old_->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> old_;
};

// Reading options whose notes are kept in `notes`; told() says whether one says `what`.
inline RecordingOptions noting(std::vector<std::string>& notes)
{
    RecordingOptions options;
    options.note = [&notes](const std::string& n) { notes.push_back(n); };
    return options;
}

inline bool told(const std::vector<std::string>& notes, std::string_view what)
{
    for (const auto& n : notes) if (n.find(what) != std::string::npos) return true;
    return false;
}

// Every chunk the source gives, in order.
inline std::vector<RecordedChunk> readAllChunks(RecordingSource& source)
{
    std::vector<RecordedChunk> all;
    for (RecordedChunk c; source.next(c);) all.push_back(c);
    return all;
}

// The message of the Error that run() throws, or "(no error)".
template <class Error, class Run>
std::string errorOf(Run run)
{
    try {
        run();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

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
        out += std::string(stamp) + frame + '\n';
    };
    for (const char* first : {"3C8#000060", "520#000800", "52C#00B4", "3CB#0000006400190000"}) line(0, first);
    for (int ms = 0; ms < seconds * 1000; ms += 20) {
        line(ms, "0B4#00000000000E10");
        if (ms % 100 == 40) line(ms, "3CA#0000000000");
    }
    return out;
}

} // namespace vcm::test
