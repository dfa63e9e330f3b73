#include "support/Profile.h"

#include "support/CompareNoCase.h"
#include "support/InputFile.h"
#include "support/NumberText.h"
#include "support/SafeFile.h"
#include "support/TextLines.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

CProfile* s_profile = nullptr;

constexpr const char* kLostSettingsText =
    "Window places and the databases to open at start-up are not kept until the profile can be saved.";

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

// Holds an exclusive lock on a directory while it lives (nothing when it cannot be opened).
class CDirectoryLock {
public:
    explicit CDirectoryLock(const std::string& directory)
        : m_fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~CDirectoryLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CDirectoryLock(const CDirectoryLock&) = delete;
    CDirectoryLock& operator=(const CDirectoryLock&) = delete;

private:
    int m_fd;
};

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
    m_changes.clear();
    m_lines = ReadLines(m_path);
}

std::vector<CProfile::Line> CProfile::ReadLines(const std::string& path)
{
    std::vector<Line> lines;
    CInputFile in;
    std::string bytes;
    if (!in.Open(path))
        return lines;
    in.ReadAll(bytes);
    std::string section;
    for (const std::string& text : SplitLines(bytes, LineBreaks::Any)) {
        Line line{text, std::string(), section};
        const std::string trimmed = Trimmed(text);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = Trimmed(trimmed.substr(1, trimmed.size() - 2));
            line.section = section;
        } else if (const auto eq = text.find('='); eq != std::string::npos && !trimmed.empty() &&
                                                   trimmed[0] != ';' && trimmed[0] != '#') {
            line.key = Trimmed(text.substr(0, eq));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

const CProfile::Line* CProfile::Find(const std::vector<Line>& lines, const std::string& section, const std::string& key)
{
    for (const Line& line : lines) {
        if (!line.key.empty() && EqualsNoCase(line.key, key) && EqualsNoCase(line.section, section))
            return &line;
    }
    return nullptr;
}

bool CProfile::HasValue(const std::string& section, const std::string& key) const
{
    return Find(m_lines, section, key) != nullptr;
}

std::string CProfile::GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    const Line* line = Find(m_lines, section, key);
    if (!line)
        return defaultValue;
    return Trimmed(line->text.substr(line->text.find('=') + 1));
}

int CProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) const
{
    const Line* line = Find(m_lines, section, key);
    return line ? ParseInt(Trimmed(line->text.substr(line->text.find('=') + 1))) : defaultValue;
}

bool CProfile::Apply(std::vector<Line>& lines, const Change& change)
{
    const Line* found = Find(lines, change.section, change.key);
    const auto at = lines.begin() + (found ? found - lines.data() : 0);
    if (change.remove) {
        if (!found)
            return false;
        lines.erase(at);
        return true;
    }
    if (found) {
        if (Trimmed(at->text.substr(at->text.find('=') + 1)) == change.value)
            return false;
        at->text = at->key + "=" + change.value;
        return true;
    }
    // Append after the section's last line, or start the section at the end of the file.
    std::size_t insertAt = lines.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (EqualsNoCase(lines[i].section, change.section)) {
            sectionFound = true;
            if (!Trimmed(lines[i].text).empty())
                insertAt = i + 1;
        }
    }
    if (!sectionFound) {
        if (!lines.empty() && !Trimmed(lines.back().text).empty())
            lines.push_back({std::string(), std::string(), lines.back().section});
        lines.push_back({"[" + change.section + "]", std::string(), change.section});
        insertAt = lines.size();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 Line{change.key + "=" + change.value, change.key, change.section});
    return true;
}

bool CProfile::Record(const Change& change)
{
    if (Apply(m_lines, change))
        m_changes.push_back(change);
    return SaveChanges();
}

bool CProfile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    // A value never spans lines: a line break would start a foreign line in the file.
    std::string flat = value;
    for (char& c : flat) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return Record({section, key, Trimmed(flat), false});
}

bool CProfile::WriteInt(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool CProfile::DeleteKey(const std::string& section, const std::string& key)
{
    return Record({section, key, std::string(), true});
}

bool CProfile::SaveChanges()
{
    if (m_batchDepth > 0 || m_changes.empty())
        return true;
    return Save();
}

bool CProfile::Save()
{
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(m_path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    const CDirectoryLock lock(parent.empty() ? std::string(".") : parent.string());
    std::vector<Line> merged = ReadLines(m_path);
    for (const Change& change : m_changes)
        Apply(merged, change);
    std::string bytes;
    for (const Line& line : merged) {
        bytes += line.text;
        bytes += '\n';
    }
    ++m_saveCount;
    std::string reason;
    const SafeSaveResult result = WriteFileSafely(
        m_path, [&bytes](std::ostream& out) { return static_cast<bool>(out << bytes); }, &reason);
    if (result != SafeSaveResult::Ok) {
        if (!m_failureTold && m_failureNotice)
            m_failureNotice(SaveFailureMessage(m_path, result, reason) + "\n\n" + kLostSettingsText);
        m_failureTold = true;
        return false;
    }
    m_failureTold = false;
    m_lines = std::move(merged);
    m_changes.clear();
    return true;
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
