#pragma once

// A merge of records from a file into a database, decided once: which of the chosen records of
// the file are appended and which are assigned over the database's record of their name. What
// the merge asks, what it does, what it counts and what its notice tells the windows all read
// this one plan, so that none of them can decide apart.
//
// The forms on the records the plan replaces are asked record by record, Yes/No/Cancel: Yes
// lets the record be replaced with the form's edits; No keeps that record and the form's edits,
// and the rest is merged; Cancel merges nothing. Every answer is gathered before anything
// changes.

#include "shell/EditFormLink.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

// One record of the file as the merge takes it.
struct CMergeStep {
    int incoming = 0;  // its index in the file
    int replaces = -1; // the database's record it is assigned over, -1 when it is appended
};

class CMergePlan {
public:
    // The chosen records of the file, in order. With replaceExisting, a record whose name the
    // database holds (existingOf gives its index there, else -1, looked up before anything
    // changes) replaces it; every other record is appended.
    CMergePlan(std::span<const int> chosen, bool replaceExisting, const std::function<int(int)>& existingOf);

    const std::vector<CMergeStep>& Steps() const { return m_steps; }
    // The database's records the merge replaces, ascending, each once.
    std::vector<int> Replaced() const;
    bool Empty() const { return m_steps.empty(); }

    // Asks the forms on the records the merge replaces (formsOf gives the forms on one record):
    // each holding unsaved changes comes forward, "... will be replaced by the one merged in.
    // Replace it?" Yes/No/Cancel. A No takes its record out of the merge (its other forms are not
    // asked) and keeps the edits; once every form answered, the forms of the records still
    // replaced let their edits go. False on Cancel: the plan, every form and every record as
    // they were.
    bool AskForms(const std::function<std::vector<CEditForm>(int record)>& formsOf);
    // The names of the records kept after a No, as their forms show them.
    const std::vector<std::string>& Kept() const { return m_kept; }

private:
    std::vector<CMergeStep> m_steps;
    std::vector<std::string> m_kept;
};

// What a merge of path did, when it did less than asked: "Merged from <file>: 2 appended, 1
// replaced." or "Nothing was merged from <file>.", then "\"X\" was kept with the unsaved changes
// in its window." for the records kept. Empty when nothing was kept and something was merged.
std::string MergeOutcomeMessage(const std::string& path, int appended, int replaced,
                                const std::vector<std::string>& kept);

// Shows MergeOutcomeMessage when there is one.
void ReportMergeOutcome(const std::string& path, int appended, int replaced, const std::vector<std::string>& kept,
                        unsigned helpId);
