#pragma once

// What the monkey did last: the seed and the last 50 steps, printed with every failure (a crash,
// a sanitizer report, std::terminate, a step that hangs, a finding of a check).
//
// The report of a crash is written from the signal handler, on a stack of its own (a stack
// overflow leaves none to run on), with write(2) alone: the steps are kept in fixed buffers that
// the handler reads without allocating. Under AddressSanitizer the sanitizer keeps its own
// handlers for faults (its report says what was touched and where) and the steps follow its
// report.

#include <string>

class CMonkeyLog {
public:
    explicit CMonkeyLog(unsigned seed);

    // Prints the seed and the steps on crashes, sanitizer reports and std::terminate.
    void InstallCrashReports();
    // Where the walk is written, named in every report so that it can be replayed.
    void SetJournalPath(const std::string& path);

    // A new step (counted) or a detail of the current one.
    void Step(const std::string& text);
    void Detail(const std::string& text);
    int StepCount() const { return m_steps; }
    // The current step spent seconds of processor time, lasting clockSeconds: the one that spent
    // the most is remembered.
    void StepTook(double seconds, double clockSeconds);
    double LongestStep() const { return m_longest; }
    double LongestStepOnTheClock() const { return m_longestOnTheClock; }
    const std::string& LongestStepText() const { return m_longestText; }

    // Prints the finding with the seed and the last steps and ends the process with 1.
    [[noreturn]] void Fail(const std::string& finding);
    // A step that does not end: the report, then where the program's thread is (its stack, from
    // a signal it receives); ends the process with 1. Called from the watchdog thread.
    [[noreturn]] void FailFromWatchdog(const char* finding);
    // The report alone, with async-signal-safe calls only; printed once however many ways the
    // process goes on to fail.
    void Print(const char* finding) const;

private:
    static constexpr int kKept = 50;
    static constexpr int kLineLength = 400;
    unsigned m_seed;
    int m_steps = 0;
    char m_ring[kKept][kLineLength] = {};
    int m_next = 0;
    char m_journal[1024] = {};
    std::string m_current;
    double m_longest = 0;
    double m_longestOnTheClock = 0;
    std::string m_longestText;

    void Add(const std::string& text);
};
