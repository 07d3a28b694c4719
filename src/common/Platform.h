#pragma once
// The platform the program was built for, where a rule differs between them (device
// names of serial ports, per-user folders). Taken as a parameter where tests need to
// check every platform's rule on one machine.
namespace vcm {

enum class Platform { Windows, Linux, MacOs };

constexpr Platform currentPlatform()
{
#if defined(_WIN32)
    return Platform::Windows;
#elif defined(__APPLE__)
    return Platform::MacOs;
#else
    return Platform::Linux;
#endif
}

} // namespace vcm
