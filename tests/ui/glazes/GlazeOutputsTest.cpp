// What a potter reads about a glaze, each output compared whole with an expected file under
// tests/data/glazes/expected: the glaze form's Analysis, Limit Formula and Notes pages, the report
// window, and the summary and report as printed and as written to a file, for the four glazes
// of ui/tools/OutputsFixture.h under the default preferences and again with every preference that
// changes the output turned the other way.

#include "core/support/PrintedPages.h"
#include "ui/glazes/GlazeEditViewAccess.h"
#include "ui/tools/OutputsFixture.h"

#include "glazes/GlazeAnalysisView.h"
#include "glazes/GlazePrinting.h"
#include "support/PrintJob.h"

#include <QListWidget>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using Setting = COutputSetting;
const Setting& kDefaults = kDefaultPreferences;

// The number formats turned from their defaults, hazards and additions left out.
void TurnFormats(CPreferences& p)
{
    p.decrecipe = 3, p.tzsrecipe = 1, p.decrecipepct = 2, p.tzsrecipepct = 0;
    p.decanalysis = 3, p.tzsanalysis = 1, p.decanalysispct = 2, p.tzsanalysispct = 0;
    p.hazvis = 0, p.unavvis = 0, p.anchadd = 0;
}

const Setting kTurnedFormats{"formats turned, no hazard marks, additions outside the chemistry", TurnFormats};

// The report's sections off and its chemistry parts turned; the page layout turned too.
const Setting kSectionsOff{"sections off, viscosity on, no page breaks", [](CPreferences& p) {
    p.andes = p.ancostsum = p.anrec = p.anvar = p.annotes = p.anhaznotes = p.ancost = 0;
    p.anchvisco = 1, p.anffs = 1, p.prtuseffs = 0, p.emptydesc = 1, p.hazvis = 1, p.unavvis = 0;
    p.hazwarn = "(hazard)";
}};
const Setting kChemistryPartsOff{"chemistry parts off, formats turned", [](CPreferences& p) {
    TurnFormats(p);
    p.anchunity = p.anchwtpct = p.anchmolpct = p.ancheln = p.anchmatn = p.anchexpan = p.anchvolat = 0;
    p.anchexpert = p.anchlimform = 0;
}};
const Setting kNoChemistry{"no chemical analysis", [](CPreferences& p) { p.anchem = 0; }};

class GlazeOutputsTest : public OutputsFixture {
protected:
    // The output of every glaze under every setting.
    std::string EveryGlazeAndSetting(const std::vector<Setting>& settings, const std::function<std::string(int)>& output)
    {
        return EverySetting(settings, [this, &output] { return EveryGlaze(output); });
    }
    CGlazeAnalysisView* Report(int glaze)
    {
        CGlazeAnalysisView*& report = m_reports[glaze];
        if (!report) {
            EXPECT_TRUE(GetGlazeViews()->OpenAnalysisView(*m_doc, glaze));
            report = dynamic_cast<CGlazeAnalysisView*>(LastItem(m_doc->GetViews()));
        }
        return report;
    }

    // A text as its control shows it, each line ended.
    static std::string Shown(const QString& text)
    {
        const std::string shown = ToCp1252(text);
        return !shown.empty() && shown.back() == '\n' ? shown : shown + "\n";
    }
    // Clicks each toggle of a page's row of display modes and takes what pane shows.
    static std::string EveryMode(CGlazeEditView* form, int page, const std::vector<const char*>& modes,
                                 QPlainTextEdit* pane)
    {
        std::string text;
        for (const char* mode : modes) {
            auto* button = GlazeForm::Page(form, page)->findChild<CToggleButton*>(QString::fromLatin1(mode));
            if (!button || !pane)
                return text + "(no " + mode + " button)\n";
            button->click();
            text += std::string("[") + mode + "]\n" + Shown(pane->toPlainText());
        }
        return text;
    }

    // What a print of kind (1 summary, 3 report) from the report window shows on paper.
    static std::string Printed(CGlazeAnalysisView* window, int kind)
    {
        CTextPrinter printer;
        CPrintJob::ApplyPreferences(printer);
        window->FillPrinter(printer, kind);
        return PrintedPages(printer);
    }
    // The same from the edit form, which prints the glaze as it shows it.
    static std::string Printed(CGlazeEditView* form, int kind)
    {
        CGlaze glaze("new glaze");
        const auto* doc = dynamic_cast<const CGlazesDoc*>(form->GetDocument());
        if (!doc || !GlazeForm::FormGlaze(form, glaze))
            return "(the form prints nothing)\n";
        CTextPrinter printer;
        CPrintJob::ApplyPreferences(printer);
        FillGlazePrinter(printer, *doc, glaze, kind);
        return PrintedPages(printer);
    }
    // What Write to File of the glaze list writes for all four glazes.
    std::string WrittenFromList(unsigned command)
    {
        Select(*m_list, {0, 1, 2, 3});
        const std::string path = m_box.root + "/written.txt";
        m_box.dialogs.AnswerPath(path);
        m_list->OnCommand(command);
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::filesystem::remove(path);
        return text.str();
    }

    std::map<int, CGlazeAnalysisView*> m_reports;
};

} // namespace

TEST_F(GlazeOutputsTest, AnalysisPage)
{
    const std::string text = EveryGlazeAndSetting({kDefaults, kTurnedFormats}, [this](int glaze) {
        CGlazeEditView* form = Form(glaze);
        if (!form)
            return std::string("(no form)\n");
        form->ShowPage(kPageAnalysis);
        return EveryMode(form, kPageAnalysis, {"Unity Formula", "Weight %", "Molecular %"}, GlazeForm::AnalysisPane(form)) +
               EveryMode(form, kPageAnalysis, {"Recipe Amount", "Working Batch", "Percent", "Cost per Kg"},
                         GlazeForm::RecipePane(form));
    });
    ExpectSameAsFile(text, "glazes/expected/analysis_page.txt");
}

// The formulas listed ("*" the analysis lies within, "." the glaze's own), the one chosen and its
// comparison; then the first formula of the list chosen with a click.
TEST_F(GlazeOutputsTest, LimitFormulaPage)
{
    const std::string text = EveryGlazeAndSetting({kDefaults, kTurnedFormats}, [this](int glaze) {
        CGlazeEditView* form = Form(glaze);
        QListWidget* formulas = form ? GlazeForm::LimitList(form) : nullptr;
        if (!formulas)
            return std::string("(no form)\n");
        form->ShowPage(kPageLimitFormula);
        std::string text;
        for (int click = 0; click < 2; ++click) {
            if (click == 1)
                formulas->setCurrentRow(0);
            for (int row = 0; row < formulas->count(); ++row)
                text += (row == formulas->currentRow() ? "> " : "  ") + ToCp1252(formulas->item(row)->text()) + "\n";
            text += Shown(GlazeForm::ComparisonLabel(form)->text()) + Shown(GlazeForm::ComparisonText(form)->toPlainText());
        }
        return text;
    });
    ExpectSameAsFile(text, "glazes/expected/limit_formula_page.txt");
}

TEST_F(GlazeOutputsTest, NotesPage)
{
    const std::string text = EveryGlazeAndSetting({kDefaults}, [this](int glaze) {
        CGlazeEditView* form = Form(glaze);
        if (!form)
            return std::string("(no form)\n");
        form->ShowPage(kPageNotes);
        return "Variations :\n" + Shown(GlazeForm::VariationsEdit(form)->toPlainText()) + "Notes :\n" +
               Shown(GlazeForm::NotesEdit(form)->toPlainText()) + "Note File : " +
               Shown(GlazeForm::NoteFileEdit(form)->text()) + "Source : " + Shown(GlazeForm::SourceEdit(form)->text());
    });
    ExpectSameAsFile(text, "glazes/expected/notes_page.txt");
}

TEST_F(GlazeOutputsTest, ReportWindow)
{
    const std::string text = EveryGlazeAndSetting({kDefaults, kSectionsOff, kChemistryPartsOff, kNoChemistry}, [this](int glaze) {
        CGlazeAnalysisView* report = Report(glaze);
        return report ? Shown(report->toPlainText()) : std::string("(no report window)\n");
    });
    ExpectSameAsFile(text, "glazes/expected/report_window.txt");
}

// Printed from the edit form, which prints the glaze as the form shows it.
TEST_F(GlazeOutputsTest, ReportPrinted)
{
    const std::string text = EveryGlazeAndSetting({kDefaults, kSectionsOff, kChemistryPartsOff, kNoChemistry}, [this](int glaze) {
        CGlazeEditView* form = Form(glaze);
        return form ? Printed(form, 3) : std::string("(no form)\n");
    });
    ExpectSameAsFile(text, "glazes/expected/report_printed.txt");
}

TEST_F(GlazeOutputsTest, ReportsWritten)
{
    const std::string text = EverySetting({kDefaults, kSectionsOff, kChemistryPartsOff, kNoChemistry},
                                          [this] { return WrittenFromList(CmdGlzWriteReports); });
    ExpectSameAsFile(text, "glazes/expected/reports_written.txt");
}

// Printed from the report window.
TEST_F(GlazeOutputsTest, SummaryPrinted)
{
    const std::string text = EveryGlazeAndSetting({kDefaults, kSectionsOff, kTurnedFormats}, [this](int glaze) {
        CGlazeAnalysisView* report = Report(glaze);
        return report ? Printed(report, 1) : std::string("(no report window)\n");
    });
    ExpectSameAsFile(text, "glazes/expected/summary_printed.txt");
}

TEST_F(GlazeOutputsTest, SummariesWritten)
{
    const std::string text = EverySetting({kDefaults, kSectionsOff, kTurnedFormats},
                                          [this] { return WrittenFromList(CmdGlzWriteSummaries); });
    ExpectSameAsFile(text, "glazes/expected/summaries_written.txt");
}
