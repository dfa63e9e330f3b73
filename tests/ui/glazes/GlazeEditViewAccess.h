#pragma once

// What tests reach of a glaze edit form: its controls, found by object name as any widget (each
// name must find exactly one), and the few counters and choices that no control shows.

#include "glazes/GlazeEditView.h"

#include "graphs/GraphWnd.h"
#include "support/NotesEdit.h"
#include "support/TabEdit.h"
#include "support/ToggleButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>

struct CGlazeEditViewTestAccess {
    // The glaze as the form would print it; false when the form refuses a recipe line.
    static bool FormGlaze(CGlazeEditView* view, CGlaze& glaze) { return view->FormGlaze(glaze); }

    template <class T>
    static T* Control(const CGlazeEditView* view, const QString& name)
    {
        const QList<T*> found = view->findChildren<T*>(name);
        if (found.size() != 1) {
            ADD_FAILURE() << found.size() << " controls named " << name.toStdString();
            return nullptr;
        }
        return found.front();
    }

    // --- controls ---
    static QWidget* Page(const CGlazeEditView* view, int page)
    {
        return Control<QWidget>(view, Numbered("page", page));
    }
    static CToggleButton* PageButton(const CGlazeEditView* view, int page)
    {
        return Control<CToggleButton>(view, Numbered("pageButton", page));
    }
    static QPushButton* Button(const CGlazeEditView* view, int id)
    {
        return Control<QPushButton>(view, QString::number(id));
    }
    static QLineEdit* NameEdit(const CGlazeEditView* view) { return Control<QLineEdit>(view, "name"); }
    static QLineEdit* IndexEdit(const CGlazeEditView* view) { return Control<QLineEdit>(view, "index"); }
    // n 0..12: Glaze Type, Range, Firing Type, Surface, Transparency, Color, Visual Texture,
    // Crystals, Bubbles, Flow, Flaws, Durability, Testing.
    static QComboBox* ChoiceBox(const CGlazeEditView* view, int n)
    {
        return Control<QComboBox>(view, Numbered("choice", n));
    }
    static QLineEdit* ImageFileEdit(const CGlazeEditView* view) { return Control<QLineEdit>(view, "imageFile"); }
    static CTabEdit* ComponentsEdit(const CGlazeEditView* view) { return Control<CTabEdit>(view, "components"); }
    static CTabEdit* AdditionsEdit(const CGlazeEditView* view) { return Control<CTabEdit>(view, "additions"); }
    static QLabel* RecipeSizeLabel(const CGlazeEditView* view) { return Control<QLabel>(view, "recipeSize"); }
    static QLineEdit* BatchSizeEdit(const CGlazeEditView* view) { return Control<QLineEdit>(view, "batchSize"); }
    static QCheckBox* ByVolumeBox(const CGlazeEditView* view) { return Control<QCheckBox>(view, "byVolume"); }
    static QListWidget* MaterialList(const CGlazeEditView* view) { return Control<QListWidget>(view, "materialList"); }
    static QPlainTextEdit* RecipeAnalysisText(const CGlazeEditView* view)
    {
        return Control<QPlainTextEdit>(view, "recipeAnalysis");
    }
    static CNotesEdit* VariationsEdit(const CGlazeEditView* view) { return Control<CNotesEdit>(view, "variations"); }
    static CNotesEdit* NotesEdit(const CGlazeEditView* view) { return Control<CNotesEdit>(view, "notes"); }
    static QLineEdit* NoteFileEdit(const CGlazeEditView* view) { return Control<QLineEdit>(view, "noteFile"); }
    static QLineEdit* SourceEdit(const CGlazeEditView* view) { return Control<QLineEdit>(view, "source"); }
    static QPlainTextEdit* AnalysisPane(const CGlazeEditView* view)
    {
        return Control<QPlainTextEdit>(view, "analysisPane");
    }
    static QPlainTextEdit* RecipePane(const CGlazeEditView* view)
    {
        return Control<QPlainTextEdit>(view, "recipePane");
    }
    static QListWidget* LimitList(const CGlazeEditView* view) { return Control<QListWidget>(view, "limitList"); }
    static QLabel* ComparisonLabel(const CGlazeEditView* view) { return Control<QLabel>(view, "comparisonLabel"); }
    static QPlainTextEdit* ComparisonText(const CGlazeEditView* view)
    {
        return Control<QPlainTextEdit>(view, "comparisonText");
    }
    // Graph pane 0 (Analysis page) or 1 (Limit Formula page).
    static CGraphWnd* ChartWindow(const CGlazeEditView* view, int pane)
    {
        return Control<CGraphWnd>(view, Numbered("chart", pane));
    }
    static QPushButton* GraphButton(const CGlazeEditView* view, int pane)
    {
        return Control<QPushButton>(view, Numbered("graphButton", pane));
    }
    static QPushButton* TextButton(const CGlazeEditView* view, int pane)
    {
        return Control<QPushButton>(view, Numbered("textButton", pane));
    }

    // --- state no control shows ---
    static int IsModified(const CGlazeEditView* view) { return view->m_nModified; }
    static int CurrentPage(const CGlazeEditView* view) { return view->m_nPage; }
    static bool IsSubsetMode(const CGlazeEditView* view) { return view->m_bSubset; }
    static int SubsetPosition(const CGlazeEditView* view) { return view->m_nSubsetPos; }
    static int SubsetCount(const CGlazeEditView* view) { return view->SubsetCount(); }
    // 0 Components, 1 Additions.
    static int LastRecipeField(const CGlazeEditView* view) { return view->m_nLastRecipeField; }
    static bool PanesCurrent(const CGlazeEditView* view) { return view->m_bPanesCurrent; }
    static void PrintGraphPane(CGlazeEditView* view, bool preview) { view->PrintGraphPane(preview); }
    static int PaneComputations(const CGlazeEditView* view) { return view->m_nPaneComputations; }
    static const std::string& ChosenLimitFormula(const CGlazeEditView* view) { return view->m_chosenLimitFormula; }
    static const std::string& LimitFormulaName(const CGlazeEditView* view) { return view->m_limform; }
    static const CGraphTemplate* GraphTemplate(const CGlazeEditView* view, int pane)
    {
        return view->Pane(pane).graphTemplate;
    }
    static bool IsGraphMode(const CGlazeEditView* view, int pane) { return view->Pane(pane).graphMode; }
    static int GraphBuilds(const CGlazeEditView* view, int pane) { return view->Pane(pane).builds; }
    static const CGraph* Graph(const CGlazeEditView* view, int pane) { return view->Pane(pane).graph.get(); }

private:
    static QString Numbered(const char* stem, int n) { return QString::fromLatin1(stem) + QString::number(n); }
};

using GlazeForm = CGlazeEditViewTestAccess;
