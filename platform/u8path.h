// Paths cross this program as UTF-8 strings (the command line, the settings store, the windows).
// The standard library turns a narrow string into a path with the system's narrow encoding, which
// on Windows is the ANSI code page (MinGW's library even reads it as Latin-1), so every conversion
// between a UTF-8 string and a std::filesystem::path goes through these two functions.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path U8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string U8String(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}
