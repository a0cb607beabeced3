// What the fuzz targets share: scratch files for readers that take a path, and a loud stop
// for an outcome that must never happen (the fuzzer keeps the input that caused it).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace Fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A file of this process's own, rewritten for every input; in memory where the system has
// a memory file system.
inline std::string ScratchPath(std::string_view name)
{
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/fendral-fuzz-" + std::to_string(getpid()) + "-" + std::string(name);
}

inline std::string WriteScratch(std::string_view name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = ScratchPath(name);
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size != 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

[[noreturn]] inline void Broken(const char* what)
{
    std::fprintf(stderr, "fuzz target broke a promise: %s\n", what);
    std::abort();
}

}  // namespace Fuzz
