#include "MonkeyLog.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define OXI_MONKEY_SANITIZER_CALLBACK 1
#endif

namespace {

CMonkeyLog* s_log = nullptr;

void OnSignal(int signal)
{
    if (s_log)
        s_log->Print(signal == SIGSEGV ? "crash (segmentation fault)" : signal == SIGABRT ? "abort" : "crash");
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnTerminate()
{
    if (s_log)
        s_log->Print("std::terminate (an exception nobody caught)");
    std::abort();
}

#ifdef OXI_MONKEY_SANITIZER_CALLBACK
void OnSanitizerDeath()
{
    if (s_log)
        s_log->Print("sanitizer report (above)");
}
#endif

} // namespace

CMonkeyLog::CMonkeyLog(unsigned seed)
    : m_seed(seed)
{
}

void CMonkeyLog::InstallCrashReports()
{
    s_log = this;
    std::set_terminate(OnTerminate);
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, OnSignal);
#ifdef OXI_MONKEY_SANITIZER_CALLBACK
    __sanitizer_set_death_callback(OnSanitizerDeath);
#endif
}

void CMonkeyLog::Add(std::string text)
{
    m_ring[m_next] = std::move(text);
    m_next = (m_next + 1) % kKept;
}

void CMonkeyLog::StepTook(double seconds)
{
    if (seconds <= m_longest)
        return;
    m_longest = seconds;
    m_longestText = m_current;
}

void CMonkeyLog::Step(const std::string& text)
{
    ++m_steps;
    m_current = text;
    Add(std::to_string(m_steps) + ": " + text);
}

void CMonkeyLog::Detail(const std::string& text)
{
    Add(std::to_string(m_steps) + ":   " + text);
}

void CMonkeyLog::Fail(const std::string& finding)
{
    Print(finding.c_str());
    std::_Exit(1);
}

void CMonkeyLog::Print(const char* finding) const
{
    std::fprintf(stderr, "\nmonkey: FAILED with seed %u after %d steps: %s\n", m_seed, m_steps, finding);
    std::fprintf(stderr, "monkey: the last steps (repeat with --seed %u):\n", m_seed);
    for (int i = 0; i < kKept; ++i) {
        const std::string& line = m_ring[(m_next + i) % kKept];
        if (!line.empty())
            std::fprintf(stderr, "  %s\n", line.c_str());
    }
    std::fflush(stderr);
}
