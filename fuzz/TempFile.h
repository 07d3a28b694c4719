#pragma once
// The fuzzer's bytes as a file on disk, for readers that open a path themselves. One
// file per process, rewritten for every input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace vcm::fuzz {

inline const std::string& writeTempFile(const std::uint8_t* data, std::size_t size, const char* suffix)
{
    static const std::string path = "/tmp/vcm_fuzz_" + std::to_string(::getpid()) + suffix;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    return path;
}

} // namespace vcm::fuzz
