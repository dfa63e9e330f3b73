#include "support/MessagePath.h"

#include "support/Windows1252.h"

namespace {

constexpr std::size_t kMaxDigits = 6; // U+10FFFF
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t u)
{
    return u >= 0xD800 && u <= 0xDFFF;
}

void AppendMarked(std::string& out, char32_t u)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[u & 0xF]);
        u >>= 4;
    } while (u != 0);
    out += kMessageCharacterMark;
    out += digits;
    out += ';';
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence of a non-ASCII character at text[at], setting u;
// 0 when there is none (a stray, overlong, surrogate or cut sequence).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& u)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        u = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        u = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        u = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(next))
            return 0;
        u = (u << 6) | (next & 0x3F);
    }
    return u < least || u > kLastCodePoint || IsSurrogate(u) ? 0 : length;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string MessagePath(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size();) {
        const auto byte = static_cast<unsigned char>(path[i]);
        char32_t u = 0;
        const std::size_t length = byte < 0x80 ? 0 : DecodeUtf8(path, i, u);
        if (length == 0) {
            // ASCII, or a byte that is no UTF-8: its Windows-1252 reading.
            if (IsUndefinedCp1252Byte(byte))
                AppendMarked(out, byte);
            else
                out += static_cast<char>(byte);
            ++i;
            continue;
        }
        out += MessageCharacter(u);
        i += length;
    }
    return out;
}

std::string MessageCharacter(char32_t character)
{
    std::string out;
    const int held = Cp1252ByteOf(character);
    if (held < 0 || IsUndefinedCp1252Byte(static_cast<unsigned char>(held)))
        AppendMarked(out, character);
    else
        out += static_cast<char>(held);
    return out;
}

std::size_t ReadMessageCharacter(std::string_view text, std::size_t at, char32_t& character)
{
    if (at >= text.size() || text[at] != kMessageCharacterMark)
        return 0;
    char32_t u = 0;
    std::size_t i = at + 1;
    for (; i < text.size() && i - at - 1 < kMaxDigits; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0)
            break;
        u = (u << 4) | static_cast<char32_t>(digit);
    }
    if (i == at + 1 || i >= text.size() || text[i] != ';' || u > kLastCodePoint || IsSurrogate(u))
        return 0;
    character = u;
    return i + 1 - at;
}
