#include "MonkeyLog.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

#include <execinfo.h>
#include <pthread.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define OXI_MONKEY_UNDER_ASAN 1
#endif

namespace {

CMonkeyLog* s_log = nullptr;
std::atomic<bool> s_printed{false};
std::atomic<bool> s_stackShown{false};
pthread_t s_mainThread;

#ifndef OXI_MONKEY_UNDER_ASAN
// Where the crash report runs: a stack overflow leaves the thread's own stack unusable.
alignas(16) char s_alternateStack[256 * 1024];
#endif

// --- async-signal-safe output ----------------------------------------------------------------

void Write(const char* text)
{
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, left);
        if (written <= 0)
            return;
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

void WriteNumber(unsigned long long value)
{
    char digits[24];
    int at = sizeof digits;
    digits[--at] = '\0';
    do {
        digits[--at] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && at > 0);
    Write(digits + at);
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "crash (segmentation fault)";
    case SIGBUS: return "crash (bus error)";
    case SIGFPE: return "crash (arithmetic exception)";
    case SIGILL: return "crash (illegal instruction)";
    case SIGABRT: return "abort";
    default: return "crash";
    }
}

// The signal's default action ends the process afterwards (SA_RESETHAND put it back), with the
// exit status and core dump a crash has.
void OnFatalSignal(int signal)
{
    if (s_log)
        s_log->Print(SignalName(signal));
    std::raise(signal);
}

// The watchdog asks the program's thread where it is.
void OnShowStack(int)
{
    Write("monkey: where the program's thread was:\n");
#ifdef OXI_MONKEY_UNDER_ASAN
    __sanitizer_print_stack_trace();
#else
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    ::backtrace_symbols_fd(frames, count, STDERR_FILENO);
#endif
    s_stackShown = true;
}

void Install(int signal, void (*handler)(int), int flags)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK | flags;
    sigaction(signal, &action, nullptr);
}

void OnTerminate()
{
    if (s_log)
        s_log->Print("std::terminate (an exception nobody caught)");
    std::abort();
}

#ifdef OXI_MONKEY_UNDER_ASAN
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
    s_mainThread = pthread_self();
    std::set_terminate(OnTerminate);
    // backtrace loads its unwinder on the first call, which allocates: done here, not in a handler.
    void* frame[1];
    ::backtrace(frame, 1);
#ifdef OXI_MONKEY_UNDER_ASAN
    // The sanitizer reports faults itself (with its own alternate stack) and calls back for the
    // steps; an abort after a sanitizer report, or any other, prints them here.
    __sanitizer_set_death_callback(OnSanitizerDeath);
    Install(SIGABRT, OnFatalSignal, SA_RESETHAND);
#else
    stack_t stack = {};
    stack.ss_sp = s_alternateStack;
    stack.ss_size = sizeof s_alternateStack;
    sigaltstack(&stack, nullptr);
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        Install(signal, OnFatalSignal, SA_RESETHAND);
#endif
    Install(SIGUSR2, OnShowStack, 0);
}

void CMonkeyLog::SetJournalPath(const std::string& path)
{
    std::strncpy(m_journal, path.c_str(), sizeof m_journal - 1);
}

void CMonkeyLog::Add(const std::string& text)
{
    char* line = m_ring[m_next];
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(kLineLength - 1));
    std::memcpy(line, text.data(), length);
    line[length] = '\0';
    m_next = (m_next + 1) % kKept;
}

void CMonkeyLog::StepTook(double seconds, double clockSeconds)
{
    if (seconds <= m_longest)
        return;
    m_longest = seconds;
    m_longestOnTheClock = clockSeconds;
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

void CMonkeyLog::FailFromWatchdog(const char* finding)
{
    Print(finding);
    pthread_kill(s_mainThread, SIGUSR2);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!s_stackShown && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::_Exit(1);
}

void CMonkeyLog::Print(const char* finding) const
{
    if (s_printed.exchange(true))
        return;
    Write("\nmonkey: FAILED with seed ");
    WriteNumber(m_seed);
    Write(" after ");
    WriteNumber(static_cast<unsigned long long>(m_steps));
    Write(" steps: ");
    Write(finding);
    Write("\nmonkey: the last steps (repeat with --seed ");
    WriteNumber(m_seed);
    if (m_journal[0] != '\0') {
        Write("; replay this very walk with --replay \"");
        Write(m_journal);
        Write("\"");
    }
    Write("):\n");
    for (int i = 0; i < kKept; ++i) {
        const char* line = m_ring[(m_next + i) % kKept];
        if (line[0] == '\0')
            continue;
        Write("  ");
        Write(line);
        Write("\n");
    }
}
