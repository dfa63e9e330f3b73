// The limit-formula list's own database commands: merging oxide combinations from another .lim
// file, and printing the formula summaries.

#include "limits/LimitFormulasView.h"

#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulasDoc.h"
#include "support/LineOStream.h"
#include "support/MessagePath.h"
#include "support/PrintJob.h"
#include "support/TextPrinter.h"

namespace {

constexpr unsigned kMergeEmptyHelpId = 0x30220;

} // namespace

void CLimitFormulasView::OnMergeCombinations()
{
    CLimitFormulasDoc* doc = LimitFormulasDoc();
    const std::string path = AskForMergeFile("Merge Oxide Combinations...");
    if (!doc || path.empty())
        return;
    const auto file = doc->ReadMergeFile(path);
    if (!file)
        return;
    const COxideCombinationArray& source = file->records.m_combinations;
    if (source.GetCount() == 0) {
        AppMessageBox(MessagePath(path) + " contains no oxide combinations!", MsgOk | MsgIconExclamation, kMergeEmptyHelpId);
        return;
    }
    COxideCombinationArray& target = doc->Database().m_combinations;
    std::vector<std::string> names;
    std::vector<int> existing;
    for (int i = 0; i < source.GetCount(); ++i) {
        names.push_back(source.GetAt(i).m_name);
        existing.push_back(target.FindByName(names.back()) ? 1 : 0);
    }
    // Sorting is a matter of the formula list: the combination merge does not offer it.
    const CMergeChoice choice = AskWhatToMerge(path, "oxide combinations", names, existing, false);
    if (!choice.accepted || choice.chosen.empty())
        return;
    for (int i : choice.chosen) {
        const COxideCombination& combination = source.GetAt(i);
        const int at = choice.method == kMergeReplaceExisting ? target.FindIndexByName(combination.m_name) : -1;
        if (at >= 0)
            target.SetAt(at, combination);
        else
            target.Add(combination);
    }
    doc->SetModifiedFlag();
    Broadcast(HintOxideCombinationsChanged, 0);
}

// --- printing -------------------------------------------------------------------------------------

void CLimitFormulasView::FillPrinter(CTextPrinter& printer, bool withHeader)
{
    SetSummaryPageHeaders(printer);
    const CLimitFormulasDoc* doc = LimitFormulasDoc();
    if (!doc)
        return;
    const std::vector<int> rows = GetSelItems();
    CLineOStream out(printer, 0);
    doc->WriteSummary(out, rows, withHeader, nullptr);
}

void CLimitFormulasView::OnPrint(unsigned id)
{
    const int answer = AppMessageBox("Do you want to print the database notes and oxide list?",
                                     MsgYesNoCancel | MsgIconQuestion, kLimitPrintQuestionHelpId);
    if (answer == MsgResultCancel)
        return;
    const bool withHeader = answer == MsgResultYes;
    if (GetSelCount() == 0 && !withHeader) {
        AppMessageBox("Nothing to print", MsgOk | MsgIconError, kLimitNothingToPrintHelpId);
        return;
    }
    CPrintJob job([this, withHeader](CTextPrinter& printer) { FillPrinter(printer, withHeader); });
    switch (id) {
    case CmdLimListPrint:
        job.Print(this);
        break;
    case CmdLimListPrintPreview:
        job.PrintPreview(this);
        break;
    default:
        job.WriteToFile("Limit Formula Summaries to File...");
        break;
    }
}
