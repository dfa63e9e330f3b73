#pragma once

// What the monkey did last: the seed and the last 50 steps, printed with every failure (a crash,
// a sanitizer report, std::terminate, a step over its time limit, a finding of a check).

#include <string>

class CMonkeyLog {
public:
    explicit CMonkeyLog(unsigned seed);

    // Prints the seed and the steps on crashes, sanitizer reports and std::terminate.
    void InstallCrashReports();

    // A new step (counted) or a detail of the current one.
    void Step(const std::string& text);
    void Detail(const std::string& text);
    int StepCount() const { return m_steps; }
    // The current step took seconds: the longest is remembered.
    void StepTook(double seconds);
    double LongestStep() const { return m_longest; }
    const std::string& LongestStepText() const { return m_longestText; }

    // Prints the finding with the seed and the last steps and ends the process with 1.
    [[noreturn]] void Fail(const std::string& finding);
    // The report alone, safe enough for a crash handler.
    void Print(const char* finding) const;

private:
    static constexpr int kKept = 50;
    unsigned m_seed;
    int m_steps = 0;
    std::string m_ring[kKept];
    int m_next = 0;
    std::string m_current;
    double m_longest = 0;
    std::string m_longestText;

    void Add(std::string text);
};
