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

// What a merge tells its user: how many records it appended and how many of the database's
// records it replaced, the records it kept for the unsaved changes in their windows, and the
// names the file holds more than once among those it replaced (each assigned over the one
// before, so the file's last one stands).
struct CMergeReport {
    struct CKept {
        std::string stored; // the record's name in the database
        std::string shown;  // the name its window shows, edits included
    };
    struct CRepeated {
        std::string name; // as the file's last one spells it
        int times = 0;
    };
    int appended = 0;
    int replaced = 0;
    std::vector<CKept> kept;
    std::vector<CRepeated> repeated;
};

class CMergePlan {
public:
    // The chosen records of the file, in order. With replaceExisting, a record whose name the
    // database holds (existingOf gives its index there, else -1, looked up before anything
    // changes) replaces it; every other record is appended. A name the file holds twice that
    // the database holds replaces that record twice, in file order.
    CMergePlan(std::span<const int> chosen, bool replaceExisting, const std::function<int(int)>& existingOf);

    const std::vector<CMergeStep>& Steps() const { return m_steps; }
    // The database's records the merge replaces, ascending, each once.
    std::vector<int> Replaced() const;
    // How many records of the file the merge appends.
    int Appended() const;
    bool Empty() const { return m_steps.empty(); }

    // Asks the forms on the records the merge replaces (formsOf gives the forms on one record):
    // each holding unsaved changes comes forward, "... will be replaced by the one merged in.
    // Replace it?" Yes/No/Cancel. A No takes its record out of the merge (its other forms are not
    // asked) and keeps the edits; once every form answered, the forms of the records still
    // replaced let their edits go. False on Cancel: the plan, every form and every record as
    // they were.
    bool AskForms(const std::function<std::vector<CEditForm>(int record)>& formsOf);

    // What the plan does, told: incomingName gives the name of a record of the file.
    CMergeReport Report(const std::function<std::string(int incoming)>& incomingName) const;

private:
    std::vector<CMergeStep> m_steps;
    std::vector<CMergeReport::CKept> m_kept;
};

// What a merge of path did, when it did less or other than asked: "Merged from <file>: 2
// appended, 1 replaced." or "Nothing was merged from <file>.", then "The file holds \"X\" 2
// times; the last of them stands." for a name replaced more than once, and "\"X\" was kept with
// the unsaved changes in its window." for the records kept. Empty when all that was chosen was
// merged, each record once.
std::string MergeOutcomeMessage(const std::string& path, const CMergeReport& report);

// Shows MergeOutcomeMessage when there is one.
void ReportMergeOutcome(const std::string& path, const CMergeReport& report, unsigned helpId);
