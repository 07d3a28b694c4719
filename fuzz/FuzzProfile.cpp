// Any bytes as a settings file: reading, a write and a re-read must not crash, and the
// written text must read back with the value just set.
#include "config/ProfileFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vcm::ProfileFile profile = vcm::ProfileFile::parse(text);
    (void)profile.get("Comm", "PortNum", "1", 20);
    (void)profile.get("File", "SavePath", "/prog", 260);
    (void)profile.entries("Ports");

    // The first line of the input as a value: it must come back (trimmed, cut) after a write.
    const std::string_view value = text.substr(0, std::min<std::size_t>(text.find_first_of("\r\n"), 40));
    profile.set("Comm", "PortNum", value);
    const vcm::ProfileFile reread = vcm::ProfileFile::parse(profile.text());
    if (reread.get("Comm", "PortNum", "<none>", 260) != profile.get("Comm", "PortNum", "<none>", 260)) std::abort();
    return 0;
}
