#pragma once

// The glaze list's Check Ingredients command: finds the recipe lines of a glaze database whose
// material is not in the materials database or is marked unavailable, lists the names in the
// Information window, selects the glazes that have them, and on request repairs them one name
// at a time: renaming the ingredient in the recipes, adding the name as another name of an
// existing material, creating a new material (optionally mapped to an existing one), or marking
// a material available.
//
// CCheckIngredients holds one run after the first dialog. The questions about single names go
// through a CCheckIngredientsPrompter, which the user interface answers with the two
// disposition dialogs (RunCheckIngredients) and tests answer from a script.

#include "support/StringArrayEx.h"

#include <functional>
#include <string>
#include <vector>

class CGlazesDoc;
class CView;
class QWidget;

// Help contexts of the command's messages.
inline constexpr unsigned kNoGlazesToCheckHelpId = 198192;
inline constexpr unsigned kCheckSummaryHelpId = 198193;
inline constexpr unsigned kEditNewMaterialsHelpId = 198194;

// The choices of the first dialog.
struct CCheckIngredientsOptions {
    int allGlazes = 1;     // "Check :" 0 the selected glazes, 1 all glazes
    int unknown = 1;       // look for unknown materials
    int unavailable = 0;   // look for unavailable materials
    int selectGlazes = 0;
    int listInformation = 1;
    int prompt = 0;        // prompt for disposition

    // From (to) the working preferences' remembered choices.
    static CCheckIngredientsOptions Remembered();
    void Remember() const;
};

// What may become of an unknown name.
enum CheckIngredientAction : int {
    kCheckNoAction = 0,
    kCheckChangeTo = 1,
    kCheckMakeAlias = 2,
    kCheckCreate = 3,
    kCheckCreateAndMap = 4,
};

// The answers of the disposition dialogs besides OK (1) and Cancel (2): their buttons' control
// numbers.
inline constexpr int kCheckCreateAllId = 4422;
inline constexpr int kCheckSkipId = 4423;
inline constexpr int kCheckSkipAllId = 4424;

class CCheckIngredientsPrompter {
public:
    virtual ~CCheckIngredientsPrompter() = default;
    // The unknown-ingredient question. action comes in as the choice to preselect and goes out as
    // the choice showing when the question ended, target as that choice's material text. Returns
    // 1 (OK), 2 (Cancel), kCheckSkipId, kCheckSkipAllId or kCheckCreateAllId.
    virtual int AskUnknown(const std::string& name, int& action, std::string& target) = 0;
    // The unavailable-ingredient question: 1 (mark as available), 2 (Cancel), kCheckSkipId or
    // kCheckSkipAllId.
    virtual int AskUnavailable(const std::string& name) = 0;
};

class CCheckIngredients {
public:
    CCheckIngredients(CGlazesDoc& document, CView* sender);

    // The command after the first dialog. fillList refills the sender's rows where the command
    // changed them (the broadcast skips the sender); it may be empty.
    void Run(const CCheckIngredientsOptions& options, CCheckIngredientsPrompter& prompter,
             const std::function<void()>& fillList = {});

    // The summary of the changes made ("Summary of changes:\n..."), empty when nothing changed.
    std::string SummaryText() const;

    // The state of the run, readable afterwards.
    std::vector<int> checked;          // glaze indices checked, in list order
    std::vector<int> flagged;          // one flag per checked glaze: it has a problem
    std::vector<int> rewritten;        // one flag per checked glaze: a rename changed its recipe
    CStringArrayEx unknownNames;       // sorted, unique ignoring case
    CStringArrayEx unavailableNames;
    std::vector<int> actions;          // per unknown name
    CStringArrayEx targets;            // per unknown name
    std::vector<int> markAvailable;    // per unavailable name
    bool abandoned = false;            // Cancel in a disposition dialog or an edit form's question
    int namesChanged = 0;
    int aliasesAdded = 0;
    int materialsCreated = 0;
    int materialsMapped = 0;
    int madeAvailable = 0;
    int errors = 0;

private:
    void Gather(const CCheckIngredientsOptions& options);
    void ListInInformation(const CCheckIngredientsOptions& options) const;
    bool AskDispositions(CCheckIngredientsPrompter& prompter);
    bool AskUnknownNames(CCheckIngredientsPrompter& prompter);
    bool AskUnavailableNames(CCheckIngredientsPrompter& prompter);
    // The flagged glazes whose recipes hold a name the dispositions change.
    std::vector<int> RewrittenGlazes() const;
    // The materials the chosen dispositions change: alias targets, and those made available.
    std::vector<int> RewrittenMaterials() const;
    // The edit forms on the glazes and materials the chosen dispositions rewrite, asked together;
    // false when the user cancelled.
    bool AskTheirForms();
    void MarkAvailable();
    void ApplyUnknown(int n);
    // False when no checked glaze held the name.
    bool RenameIngredient(const std::string& name, const std::string& target);
    void AddAlias(const std::string& name, const std::string& target);
    void CreateMaterial(const std::string& name, const std::string& mapTo);
    void Refresh(int materialCount, const std::function<void()>& fillList);
    void SelectFlagged();

    CGlazesDoc& m_document;
    CView* m_sender;
};

// The whole command for the list view sender of document: the first dialog, then the run with
// the disposition dialogs. False when the user cancelled the first dialog.
bool RunCheckIngredients(CGlazesDoc& document, CView* sender, QWidget* parent,
                         const std::function<void()>& fillList = {});
