#pragma once

// Readers that take a path get the fuzz input as a file: one private directory per process,
// removed when the process ends. It lies in memory (/dev/shm) where the system offers that, so
// that the synced saves of the writers under test cost no disk time.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

inline const std::string& FuzzDirectory()
{
    static const std::string directory = [] {
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
        std::string pattern = (base / "oxi-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        static const std::string removed = pattern;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removed, ec);
        });
        return pattern;
    }();
    return directory;
}

// Writes the bytes to name in the private directory and returns the file's path.
inline std::string WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = FuzzDirectory() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        std::abort();
    return path;
}

inline std::string ReadFuzzFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void FuzzCheck(bool condition)
{
    if (!condition)
        __builtin_trap();
}
