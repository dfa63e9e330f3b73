#include "MonkeyJournal.h"

#include <cstdlib>
#include <fstream>

namespace {

constexpr const char* kHeader = "monkey journal 1";
// Details are kept to this many bytes (a message box may list a hundred records).
constexpr std::size_t kDetailLength = 240;

} // namespace

CMonkeyJournal::~CMonkeyJournal()
{
    if (m_file)
        std::fclose(m_file);
}

bool CMonkeyJournal::Record(const std::string& path, unsigned seed, bool workingSet, const std::string& program)
{
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file)
        return false;
    // Each line reaches the file as it is written: a crash keeps the walk up to its step.
    std::setvbuf(m_file, nullptr, _IOLBF, 0);
    m_seed = seed;
    m_workingSet = workingSet;
    m_program = program;
    Write(std::string(kHeader) + "\nseed " + std::to_string(seed) + "\nworking-set " + (workingSet ? "1" : "0") +
          "\nprogram " + program);
    return true;
}

bool CMonkeyJournal::Load(const std::string& path, std::string& error)
{
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line) || line != kHeader) {
        error = path + " is no monkey journal";
        return false;
    }
    int workingSet = 0;
    if (!std::getline(in, line) || std::sscanf(line.c_str(), "seed %u", &m_seed) != 1 || !std::getline(in, line) ||
        std::sscanf(line.c_str(), "working-set %d", &workingSet) != 1) {
        error = path + ": the seed and the switches are missing";
        return false;
    }
    m_workingSet = workingSet != 0;
    while (std::getline(in, line)) {
        if (line == "session")
            m_entries.push_back({'n', std::string()});
        else if (line.rfind("program ", 0) == 0)
            m_program = line.substr(8);
        else if (line.rfind("end ", 0) == 0)
            m_entries.push_back({'e', line.substr(4)});
        else if (line.size() >= 2 && (line[0] == 's' || line[0] == 't' || line[0] == 'd') && line[1] == ' ')
            m_entries.push_back({line[0], line.substr(2)});
        m_hasDetails = m_hasDetails || (!m_entries.empty() && m_entries.back().kind == 'd');
        // Anything else is the last line of a crashed run, cut short.
    }
    m_replaying = true;
    return true;
}

std::string CMonkeyJournal::Normalised(const std::string& text) const
{
    std::string result = text;
    for (std::size_t at = 0; !m_sandbox.empty() && (at = result.find(m_sandbox, at)) != std::string::npos;)
        result.replace(at, m_sandbox.size(), "<sandbox>");
    for (char& c : result) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return result;
}

void CMonkeyJournal::Write(const std::string& line)
{
    if (m_file)
        std::fprintf(m_file, "%s\n", line.c_str());
}

void CMonkeyJournal::SkipEnd()
{
    if (!AtEnd() && m_entries[m_next].kind == 'e')
        ++m_next;
}

bool CMonkeyJournal::BeginSession()
{
    if (!m_replaying) {
        Write("session");
        return true;
    }
    if (AtEnd() || m_entries[m_next].kind != 'n')
        return false;
    ++m_next;
    return true;
}

std::string CMonkeyJournal::Step(long long draws, const std::string& text)
{
    const std::string normalised = std::to_string(draws) + " " + Normalised(text);
    if (!m_replaying) {
        Write("s " + normalised);
        return std::string();
    }
    SkipEnd();
    if (AtEnd())
        return std::string();
    const Entry& entry = m_entries[m_next];
    if (entry.kind != 's' || entry.text != normalised)
        return Expected();
    ++m_next;
    ++m_stepsReplayed;
    return std::string();
}

std::string CMonkeyJournal::Detail(long long draws, const std::string& text)
{
    // Cut short after the sandbox folder is named, not before: a cut through the folder's path
    // would differ from run to run.
    std::string normalised = std::to_string(draws) + " " + Normalised(text);
    if (normalised.size() > kDetailLength)
        normalised.resize(kDetailLength);
    if (!m_replaying) {
        Write("d " + normalised);
        return std::string();
    }
    SkipEnd();
    if (!m_hasDetails || AtEnd())
        return std::string();
    if (m_entries[m_next].kind != 'd' || m_entries[m_next].text != normalised)
        return Expected();
    ++m_next;
    return std::string();
}

std::string CMonkeyJournal::Expected() const
{
    const Entry& entry = m_entries[m_next];
    switch (entry.kind) {
    case 's': return entry.text;
    case 'd': return "the detail " + entry.text;
    case 't': return "a tick on " + entry.text;
    case 'e': return "the end of the session's random steps";
    default: return "a new session";
    }
}

bool CMonkeyJournal::Tick(long long draws, const std::string& className)
{
    const std::string entry = std::to_string(draws) + " " + className;
    if (!m_replaying) {
        Write("t " + entry);
        return true;
    }
    if (AtEnd() || m_entries[m_next].kind != 't' || m_entries[m_next].text != entry)
        return false;
    ++m_next;
    return true;
}

bool CMonkeyJournal::TickPending(long long* draws, std::string* className) const
{
    if (!m_replaying || AtEnd() || m_entries[m_next].kind != 't')
        return false;
    const std::string& entry = m_entries[m_next].text;
    const std::size_t blank = entry.find(' ');
    if (draws)
        *draws = std::atoll(entry.c_str());
    if (className)
        *className = blank == std::string::npos ? entry : entry.substr(blank + 1);
    return true;
}

void CMonkeyJournal::EndRandomSteps(int tries)
{
    if (!m_replaying)
        Write("end " + std::to_string(tries));
}

int CMonkeyJournal::RandomStepTries() const
{
    for (std::size_t i = m_next; i < m_entries.size() && m_entries[i].kind != 'n'; ++i) {
        if (m_entries[i].kind == 'e')
            return std::atoi(m_entries[i].text.c_str());
    }
    return -1;
}
