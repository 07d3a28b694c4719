// Any bytes as the settings file: reading the settings and the port map must not
// crash; what was read, written back, reads back the same, hand-added lines included.
#include "MemoryFileSystem.h"
#include "config/Settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = "/cfg/settings.ini";
    vcm::fuzz::MemoryFileSystem fs;
    fs.files[file] = std::string(reinterpret_cast<const char*>(data), size);
    const vcm::MonitorSettings read = vcm::readSettings(fs, file, "/home/driver");
    const auto ports = vcm::readPortMap(fs, file);
    for (const auto& [number, device] : ports)
        if (number < 1 || number > 32767 || device.empty()) std::abort();

    if (!vcm::writeSettings(fs, file, read)) return 0;
    vcm::MonitorSettings reread = vcm::readSettings(fs, file, "/home/driver");
    reread.PortNumM = read.PortNumM; // never written, read from the kept line
    // A value as long as the reader's buffer was cut there, and may be cut again on re-read;
    // any other folder reads back as it was written.
    const bool cut = read.SavePath.size() >= 258;
    if (!cut && reread.SavePath != read.SavePath) std::abort();
    reread.SavePath = read.SavePath;
    if (!(reread == read)) std::abort();
    if (vcm::readPortMap(fs, file) != ports) std::abort();
    return 0;
}
