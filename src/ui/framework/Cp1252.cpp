#include "framework/Cp1252.h"

#include "support/MessagePath.h"
#include "support/Windows1252.h"

#include <QByteArray>
#include <QFile>

#include <array>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace {

constexpr std::array<char16_t, 256> MakeTable()
{
    std::array<char16_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<char16_t>(i);
    for (std::size_t i = 0; i < kCp1252HighCharacters.size(); ++i)
        table[0x80 + i] = kCp1252HighCharacters[i];
    return table;
}

constexpr std::array<char16_t, 256> kToUnicode = MakeTable();

const std::unordered_map<char16_t, unsigned char>& FromUnicodeMap()
{
    static const std::unordered_map<char16_t, unsigned char> map = [] {
        std::unordered_map<char16_t, unsigned char> m;
        for (std::size_t i = 0x80; i < 0xA0; ++i)
            m.emplace(kToUnicode[i], static_cast<unsigned char>(i));
        return m;
    }();
    return map;
}

} // namespace

bool FitsCp1252(char32_t u)
{
    return u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u <= 0xFFFF && FromUnicodeMap().count(static_cast<char16_t>(u)) != 0);
}

QString FromCp1252(const std::string& bytes)
{
    QString text;
    text.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = text.data();
    for (const char c : bytes)
        *out++ = QChar(kToUnicode[static_cast<unsigned char>(c)]);
    return text;
}

QString FromCp1252(const char* bytes)
{
    return FromCp1252(std::string(bytes ? bytes : ""));
}

std::string ToCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    const auto& high = FromUnicodeMap();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.push_back(static_cast<char>(u));
            continue;
        }
        const auto it = high.find(u);
        bytes.push_back(it != high.end() ? static_cast<char>(it->second) : '?');
    }
    return bytes;
}

std::u32string CharactersOutsideCp1252(const QString& text)
{
    std::u32string found;
    for (const char32_t u : text.toUcs4()) {
        if (!FitsCp1252(u) && found.find(u) == std::u32string::npos)
            found.push_back(u);
    }
    return found;
}

namespace {

// Characters that show nothing on their own: controls, format characters, lone surrogate halves,
// private and unassigned code points, and blanks other than the space.
bool ShowsNothing(char32_t u)
{
    switch (QChar::category(u)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool IsCombiningMark(char32_t u)
{
    const QChar::Category category = QChar::category(u);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

} // namespace

std::string NameCharacter(char32_t u)
{
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(u));
    if (ShowsNothing(u))
        return number;
    // A combining mark is shown on a dotted circle, not on the blank or bracket beside it.
    constexpr char32_t kDottedCircle = 0x25CC;
    const std::string shown = IsCombiningMark(u) ? MessageCharacter(kDottedCircle) + MessageCharacter(u)
                                                 : MessageCharacter(u);
    return shown + " (" + number + ")";
}

std::string NameCharacters(const std::u32string& characters)
{
    std::string names;
    for (const char32_t u : characters) {
        if (!names.empty())
            names += ", ";
        names += NameCharacter(u);
    }
    return names;
}

QString FromFileName(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string FileNameFromCp1252(const std::string& text)
{
    return QFile::encodeName(FromCp1252(text)).toStdString();
}

std::string Cp1252FromFileName(const std::string& path, std::u32string& outside)
{
    const QString name = FromFileName(path);
    outside = CharactersOutsideCp1252(name);
    return outside.empty() ? ToCp1252(name) : std::string();
}

QString FromMessageText(const std::string& bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char32_t marked = 0;
        if (const std::size_t length = ReadMessageCharacter(bytes, i, marked); length != 0) {
            text += QString::fromUcs4(&marked, 1);
            i += length - 1;
            continue;
        }
        text += QChar(kToUnicode[static_cast<unsigned char>(bytes[i])]);
    }
    return text;
}
