#pragma once

// The monkey's walk written down as it goes, so that a later run takes exactly the same walk.
//
// The random numbers come from the seed; the clock decides the rest, and that is what the
// journal keeps: how many steps each session tried before its time was up, and which ticks of
// the dialog timer found a dialog or pop-up menu to drive (the timer fires by the clock, and each
// such tick draws numbers and moves the dialog on). A replay takes the seed and the switches from
// the journal, gives each session its recorded number of steps and lets a tick act only where
// the journal has one, so the numbers are drawn in the same order for the same steps. Each step's
// text is kept too: a replay whose program does something else (a timer of its own fired, say)
// stops at the first step that differs and says so.
//
// What a step found decides the walk as much as the numbers do (which fields a window offers,
// which widget has the focus), and the same numbers can lead two runs to different fields. So
// the details of each step are kept as well (the field filled, and its place among those it was
// picked from; the dialog button pressed; the message box answered): a replay stops at the first
// one that differs, where the two walks part, not steps later where the numbers drawn differ.
//
// One entry a line, written and flushed as it happens (a crash loses nothing before it):
//   monkey journal 1 / seed N / working-set 0|1      the header
//   program <commit>  the program's commit the monkey was built from (journals before it lack it)
//   session        a session (the program started anew) begins
//   s <n> <text>   a step began after n random numbers were drawn (the sandbox folder written
//                  as <sandbox>)
//   t <n> <class>  a tick drove the dialog or pop-up menu of that class, n numbers drawn before
//   d <n> <text>   a detail of the step, n numbers drawn before (journals without any are
//                  replayed by their steps and ticks alone)
//   end <tries>    the session's random steps ended after that many tries (File > Exit follows)

#include <cstdio>
#include <string>
#include <vector>

class CMonkeyJournal {
public:
    CMonkeyJournal() = default;
    ~CMonkeyJournal();
    CMonkeyJournal(const CMonkeyJournal&) = delete;
    CMonkeyJournal& operator=(const CMonkeyJournal&) = delete;

    // Starts writing path; false when it cannot be written.
    bool Record(const std::string& path, unsigned seed, bool workingSet, const std::string& program);
    // Reads path for a replay; false, with the reason in error, when it is no journal.
    bool Load(const std::string& path, std::string& error);
    // The folder written as <sandbox> in step texts.
    void SetSandbox(const std::string& root) { m_sandbox = root; }

    bool Replaying() const { return m_replaying; }
    unsigned Seed() const { return m_seed; }
    bool WorkingSet() const { return m_workingSet; }
    // The commit of the program that recorded the journal; empty when it does not say.
    const std::string& Program() const { return m_program; }

    // --- the walk ---

    // A step begins after draws random numbers. Replaying: "" when it is the step of the journal
    // with as many numbers drawn before it, else what the journal has there (the walk left the
    // journal); past the journal's end nothing is checked.
    std::string Step(long long draws, const std::string& text);
    // A detail of the current step, after draws random numbers. Replaying: "" when the journal
    // has it next (or has no details at all), else what the journal has there.
    std::string Detail(long long draws, const std::string& text);
    // A tick found a dialog or pop-up menu of the class after draws random numbers: true when it
    // may drive it (replaying: when the journal's next entry is this tick, which it then passes).
    bool Tick(long long draws, const std::string& className);
    // Replaying: the journal's next entry is a tick, with the numbers drawn before it and what it
    // drives.
    bool TickPending(long long* draws = nullptr, std::string* className = nullptr) const;
    // A session begins: false when a replay has no more.
    bool BeginSession();
    // Recording: the session's random steps ended after tries tries.
    void EndRandomSteps(int tries);
    // Replaying: how many tries the current session's random steps take; -1 when the journal
    // ends first (the recorded run ended there).
    int RandomStepTries() const;
    bool AtEnd() const { return m_next >= m_entries.size(); }
    int StepsReplayed() const { return m_stepsReplayed; }

private:
    struct Entry {
        char kind; // 'n' session, 's' step, 't' tick, 'd' detail, 'e' end of the random steps
        std::string text;
    };

    void Write(const std::string& line);
    std::string Normalised(const std::string& text) const;
    // What the entry at the replay's place is, in words, for a walk that parts there.
    std::string Expected() const;
    // Passes the end of the random steps (Run reads it from RandomStepTries).
    void SkipEnd();

    std::FILE* m_file = nullptr;
    bool m_replaying = false;
    unsigned m_seed = 1;
    bool m_workingSet = false;
    std::string m_program;
    bool m_hasDetails = false;
    std::string m_sandbox;
    std::vector<Entry> m_entries;
    std::size_t m_next = 0;
    int m_stepsReplayed = 0;
};
