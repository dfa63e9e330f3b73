#include "framework/Cp1252.h"

#include <QByteArray>
#include <QFile>

#include <array>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

constexpr std::array<char16_t, 256> MakeTable()
{
    std::array<char16_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<char16_t>(i);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        table[0x80 + i] = kHighControls[i];
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

std::string NameCharacters(const std::u32string& characters)
{
    std::string names;
    for (const char32_t u : characters) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(u));
        if (!names.empty())
            names += ", ";
        names += name;
    }
    return names;
}

QString FromFileName(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}
