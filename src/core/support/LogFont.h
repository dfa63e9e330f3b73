#pragma once

// A font description as the preferences store it: the thirteen numbers and the face name of a
// font request, written as "height,width,escapement,orientation,weight,italic,underline,
// strikeOut,charSet,outPrecision,clipPrecision,quality,pitchAndFamily,faceName,".

#include <cstdint>
#include <string>
#include <string_view>

struct CLogFont {
    static constexpr int kDefaultWeight = 400;        // normal
    static constexpr int kDefaultPitchAndFamily = 49; // fixed pitch, modern family
    static constexpr std::size_t kMaxFaceName = 31;   // longer face names are not kept

    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;

    // All zero except weight 400 and pitch and family 49, no face name: what a font text that
    // cannot be read gives.
    static CLogFont Default();

    friend bool operator==(const CLogFont&, const CLogFont&) = default;
};

// The font as text (each field followed by a comma).
std::string& LogFontToString(std::string& out, const CLogFont& font);
std::string LogFontToString(const CLogFont& font);

// The font read back from such a text; anything but exactly 14 comma-separated pieces gives
// CLogFont::Default(). Numbers are read locale-free; the last eight keep their low byte.
CLogFont StringToLogFont(std::string_view text);
