#include "Settings.h"

#include "ProfileFile.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace vcm {
namespace {

constexpr std::size_t kShortBuffer = 20;
constexpr std::size_t kPathBuffer = 260;

const char* trueFalse(bool b) { return b ? "True" : "False"; }

template <typename Int>
void readNumber(const ProfileFile& file, std::string_view section, std::string_view key, std::string_view defaultText,
                Int& field)
{
    const auto n = parseWholeNumber(file.get(section, key, defaultText, kShortBuffer),
                                    std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (n) field = static_cast<Int>(*n);
}

} // namespace

std::optional<std::int64_t> parseWholeNumber(std::string_view text, std::int64_t minimum, std::int64_t maximum)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Digits, an optional fraction and exponent, nothing else (from_chars alone would
    // also take "inf", "nan" and hexadecimal forms).
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        return i - start;
    };
    std::size_t mantissaDigits = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt; // e.g. out of double range
    if (negative) value = -value;
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (!(rounded >= static_cast<double>(minimum) && rounded <= static_cast<double>(maximum))) return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

std::string withoutTrailingSeparator(std::string folder)
{
    // Every trailing separator goes, with the white space the settings reader would trim
    // once they are gone, so that one read gives what a write keeps and the next read gives
    // again ("\\" used to lose one separator per save and end empty); a folder that is
    // nothing but a separator is a root and stays.
    while (folder.size() > 1 && std::string_view("\\/ \t\r\v\f").find(folder.back()) != std::string_view::npos)
        folder.pop_back();
    return folder;
}

MonitorSettings readSettings(FileSystem& fs, const std::string& settingsFile, const std::string& defaultSaveFolder,
                             const MonitorSettings& previous)
{
    const ProfileFile file = ProfileFile::load(fs, settingsFile);
    const auto text = [&](std::string_view section, std::string_view key, std::string_view defaultText) {
        return file.get(section, key, defaultText, kShortBuffer);
    };

    MonitorSettings s = previous;
    s.PortNum = 1;
    s.BPS = 500000;
    s.PortNumM = 0;
    readNumber(file, "Comm", "PortNum", "1", s.PortNum);
    readNumber(file, "Comm", "BPS", "500000", s.BPS);
    readNumber(file, "Comm", "PortNum M", "0", s.PortNumM);
    readNumber(file, "Comm", "PortNum GPS", "0", s.PortNumGPS);

    // Every comparison is exact and case-sensitive: only "CANUSB" selects the CANUSB.
    s.UseElm327 = text("Comm", "Interface", "ELM327") != "CANUSB";
    s.Logfile = text("CAN232", "Logfile", "False") == "True";
    s.SuperLogFile = text("CAN232", "SuperLogFile", "False") == "True";
    s.EnableGPS = text("GPS", "EnableGPS", "False") == "True";
    s.EnableDynamicVolume = text("File", "EnableDynamicVolume", "False") == "True";
    s.MetricUnits = text("Unit", "System", "SI") == "SI";
    s.Celsius = text("Unit", "Temp", "Celsius") == "Celsius";
    s.Japanese = text("File", "Language", "English") != "English";
    s.SavePath = withoutTrailingSeparator(file.get("File", "SavePath", defaultSaveFolder, kPathBuffer));
    return s;
}

bool writeSettings(FileSystem& fs, const std::string& settingsFile, const MonitorSettings& s)
{
    // One read, twelve edits, one atomic replace: the same file as twelve single-key
    // writes, but a power cut can never leave half of them.
    std::string error;
    std::optional<ProfileFile> read = ProfileFile::tryLoad(fs, settingsFile, error);
    if (!read)
        return false; // its port map and hand-added lines would be lost
    ProfileFile& file = *read;
    file.set("Comm", "Interface", s.UseElm327 ? "ELM327" : "CANUSB");
    file.set("Comm", "PortNum", std::to_string(s.PortNum));
    file.set("Comm", "BPS", std::to_string(s.BPS));
    file.set("Comm", "PortNum GPS", std::to_string(s.PortNumGPS));
    file.set("CAN232", "Logfile", trueFalse(s.Logfile));
    file.set("CAN232", "SuperLogfile", trueFalse(s.SuperLogFile));
    file.set("GPS", "EnableGPS", trueFalse(s.EnableGPS));
    file.set("Unit", "System", s.MetricUnits ? "SI" : "US");
    file.set("Unit", "Temp", s.Celsius ? "Celsius" : "Fahrenheit");
    file.set("File", "SavePath", s.SavePath);
    file.set("File", "Language", s.Japanese ? "Japanese" : "English");
    file.set("File", "EnableDynamicVolume", trueFalse(s.EnableDynamicVolume));
    return file.save(fs, settingsFile);
}

std::string settingsReadProblem(FileSystem& fs, const std::string& settingsFile)
{
    std::string error;
    (void)ProfileFile::tryLoad(fs, settingsFile, error);
    return error.empty() ? error : error + " (the presets are used, and the file is left as it is)";
}

std::map<int, std::string> readPortMap(FileSystem& fs, const std::string& settingsFile)
{
    std::map<int, std::string> ports;
    for (const auto& [key, value] : ProfileFile::load(fs, settingsFile).entries("Ports")) {
        if (key.size() < 4 || !(key[0] == 'C' || key[0] == 'c') || !(key[1] == 'O' || key[1] == 'o') ||
            !(key[2] == 'M' || key[2] == 'm'))
            continue;
        const std::string_view digits = std::string_view(key).substr(3);
        int n = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (ec != std::errc{} || end != digits.data() + digits.size() || n < 1 || n > 32767) continue;
        const std::string path = value.substr(0, value.find('\0')).substr(0, kPathBuffer - 1);
        if (!path.empty()) ports.emplace(n, path);
    }
    return ports;
}

} // namespace vcm
