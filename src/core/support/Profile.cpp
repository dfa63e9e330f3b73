#include "support/Profile.h"

#include "support/CompareNoCase.h"
#include "support/NumberText.h"
#include "support/SafeFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

CProfile* s_profile = nullptr;

std::string Trimmed(const std::string& text)
{
    const auto isSpace = [](char c) { return c == ' ' || (c >= 9 && c <= 13); };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// Splits file bytes into lines at LF, CR LF or a lone CR.
std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

CProfile::CProfile(std::string path)
    : m_path(std::move(path))
{
    Reload();
}

std::string CProfile::DefaultPath()
{
    if (const char* explicitPath = std::getenv("OXIDARIUM_PROFILE"); explicitPath && *explicitPath)
        return explicitPath;
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".";
    return base + "/Oxidarium/Oxidarium.ini";
}

void CProfile::Reload()
{
    m_lines.clear();
    m_unsaved = false;
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string section;
    for (const std::string& text : SplitLines(bytes.str())) {
        Line line{text, std::string(), section};
        const std::string trimmed = Trimmed(text);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = Trimmed(trimmed.substr(1, trimmed.size() - 2));
            line.section = section;
        } else if (const auto eq = text.find('='); eq != std::string::npos && !trimmed.empty() &&
                                                   trimmed[0] != ';' && trimmed[0] != '#') {
            line.key = Trimmed(text.substr(0, eq));
        }
        m_lines.push_back(std::move(line));
    }
}

const CProfile::Line* CProfile::Find(const std::string& section, const std::string& key) const
{
    for (const Line& line : m_lines) {
        if (!line.key.empty() && EqualsNoCase(line.key, key) && EqualsNoCase(line.section, section))
            return &line;
    }
    return nullptr;
}

CProfile::Line* CProfile::Find(const std::string& section, const std::string& key)
{
    return const_cast<Line*>(static_cast<const CProfile*>(this)->Find(section, key));
}

bool CProfile::HasValue(const std::string& section, const std::string& key) const
{
    return Find(section, key) != nullptr;
}

std::string CProfile::GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    const Line* line = Find(section, key);
    if (!line)
        return defaultValue;
    return line->text.substr(line->text.find('=') + 1);
}

int CProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) const
{
    const Line* line = Find(section, key);
    return line ? ParseInt(line->text.substr(line->text.find('=') + 1)) : defaultValue;
}

bool CProfile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    // A value never spans lines: a line break would start a foreign line in the file.
    std::string flat = value;
    for (char& c : flat) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    if (Line* line = Find(section, key)) {
        const std::string text = line->key + "=" + flat;
        if (line->text != text) {
            line->text = text;
            m_unsaved = true;
        }
        return SaveChanges();
    }
    // Append after the section's last line, or start the section at the end of the file.
    std::size_t insertAt = m_lines.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (EqualsNoCase(m_lines[i].section, section)) {
            sectionFound = true;
            if (!Trimmed(m_lines[i].text).empty())
                insertAt = i + 1;
        }
    }
    if (!sectionFound) {
        if (!m_lines.empty() && !Trimmed(m_lines.back().text).empty())
            m_lines.push_back({std::string(), std::string(), m_lines.back().section});
        m_lines.push_back({"[" + section + "]", std::string(), section});
        insertAt = m_lines.size();
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{key + "=" + flat, key, section});
    m_unsaved = true;
    return SaveChanges();
}

bool CProfile::WriteInt(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool CProfile::DeleteKey(const std::string& section, const std::string& key)
{
    Line* line = Find(section, key);
    if (!line)
        return true;
    m_lines.erase(m_lines.begin() + (line - m_lines.data()));
    m_unsaved = true;
    return SaveChanges();
}

bool CProfile::SaveChanges()
{
    if (m_batchDepth > 0 || !m_unsaved)
        return true;
    if (!Save())
        return false;
    m_unsaved = false;
    return true;
}

bool CProfile::Save() const
{
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(m_path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    std::string bytes;
    for (const Line& line : m_lines) {
        bytes += line.text;
        bytes += '\n';
    }
    ++m_saveCount;
    return WriteFileSafely(m_path, bytes) == SafeSaveResult::Ok;
}

CProfileWriteBatch::CProfileWriteBatch(CProfile* profile)
    : m_profile(profile)
{
    if (m_profile)
        ++m_profile->m_batchDepth;
}

CProfileWriteBatch::~CProfileWriteBatch()
{
    if (m_profile && --m_profile->m_batchDepth == 0)
        m_profile->SaveChanges();
}

CProfile* GetProfile()
{
    return s_profile;
}

void SetProfile(CProfile* profile)
{
    s_profile = profile;
}
