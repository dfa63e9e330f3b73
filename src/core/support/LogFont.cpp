#include "support/LogFont.h"

#include "support/NumberText.h"
#include "support/StringArrayEx.h"

CLogFont CLogFont::Default()
{
    CLogFont font;
    font.weight = kDefaultWeight;
    font.pitchAndFamily = kDefaultPitchAndFamily;
    return font;
}

std::string& LogFontToString(std::string& out, const CLogFont& font)
{
    const int numbers[13] = {font.height,        font.width,         font.escapement,   font.orientation,
                             font.weight,        font.italic,        font.underline,    font.strikeOut,
                             font.charSet,       font.outPrecision,  font.clipPrecision, font.quality,
                             font.pitchAndFamily};
    out.clear();
    for (int n : numbers) {
        out += std::to_string(n);
        out += ',';
    }
    out += font.faceName;
    out += ',';
    return out;
}

std::string LogFontToString(const CLogFont& font)
{
    std::string out;
    return LogFontToString(out, font);
}

CLogFont StringToLogFont(std::string_view text)
{
    CStringArrayEx pieces;
    pieces.AddTextLines(std::string(text), ",");
    if (pieces.size() != 14)
        return CLogFont::Default();

    const auto number = [&pieces](int i) { return ParseInt(pieces[static_cast<std::size_t>(i)]); };
    const auto byte = [&number](int i) { return static_cast<std::uint8_t>(number(i)); };
    CLogFont font;
    font.height = number(0);
    font.width = number(1);
    font.escapement = number(2);
    font.orientation = number(3);
    font.weight = number(4);
    font.italic = byte(5);
    font.underline = byte(6);
    font.strikeOut = byte(7);
    font.charSet = byte(8);
    font.outPrecision = byte(9);
    font.clipPrecision = byte(10);
    font.quality = byte(11);
    font.pitchAndFamily = byte(12);
    if (pieces[13].size() <= CLogFont::kMaxFaceName)
        font.faceName = pieces[13];
    return font;
}
