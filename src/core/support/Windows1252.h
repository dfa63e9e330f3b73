#pragma once

// The Windows-1252 code page, for the core and the ui alike: bytes 0 to 127 and 160 to 255 are
// the Unicode characters of the same number; 128 to 159 are the table below. The five bytes
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control code of the
// same number, so every byte string has a reading.

#include <array>

inline constexpr std::array<char16_t, 32> kCp1252HighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

// True for the five bytes that Windows-1252 gives no character.
constexpr bool IsUndefinedCp1252Byte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 && kCp1252HighCharacters[byte - 0x80] == byte;
}

// The byte of a character that Windows-1252 holds (the undefined bytes' control codes count as
// held); -1 for any other.
constexpr int Cp1252ByteOf(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (unsigned i = 0; i < kCp1252HighCharacters.size(); ++i) {
        if (kCp1252HighCharacters[i] == character)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}
