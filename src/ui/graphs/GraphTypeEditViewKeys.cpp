// The editor's keys: Ctrl+B and Ctrl+N turn the pages, Ctrl+S saves and moves on, and on the
// Graph page the arrow keys with Ctrl, Shift or both step through glazes, databases, graph types,
// limit formulas and templates.

#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QCheckBox>

int TranslateEditorKey(int key, Qt::KeyboardModifiers modifiers, bool graphPage)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (modifiers & Qt::AltModifier)
        return 0;
    if (ctrl) {
        switch (key) {
        case Qt::Key_B: return kMsgPreviousPage;
        case Qt::Key_N: return kMsgNextPage;
        case Qt::Key_S: return kMsgSaveAndNext;
        default: break;
        }
    }
    return graphPage ? TranslateGraphKey(key, modifiers) : 0;
}

void CGraphTypeEditView::OnFormMessage(int message)
{
    switch (message) {
    case kMsgPreviousPage: StepPage(-1); break;
    case kMsgNextPage: StepPage(1); break;
    case kMsgSaveAndNext:
        // The Name box it leaves the focus in is on the first page.
        ShowPage(1);
        SaveAndNext();
        break;
    case kMsgPreviousGlaze: StepGlaze(-1); break;
    case kMsgNextGlaze: StepGlaze(1); break;
    case kMsgPreviousType: StepType(-1); break;
    case kMsgNextType: StepType(1); break;
    case kMsgPreviousLimit: StepLimitFormula(-1); break;
    case kMsgNextLimit: StepLimitFormula(1); break;
    case kMsgPreviousTemplate:
        // The keyboard never inserts a template.
        if (IsLimited() || CurrentIndex() != 0)
            EditPrevious();
        break;
    case kMsgNextTemplate:
        if (IsLimited() || CurrentIndex() != RecordCount() - 1)
            EditNext();
        break;
    case kMsgPreviousDatabase: StepDatabase(-1, false); break;
    case kMsgNextDatabase: StepDatabase(1, false); break;
    default: break;
    }
}

void CGraphTypeEditView::StepPage(int direction)
{
    int page = m_currentPage + direction;
    if (page < 1)
        page = kGraphEditPageCount;
    else if (page > kGraphEditPageCount)
        page = 1;
    ShowPage(page);
    FocusPageControl(page);
}

void CGraphTypeEditView::FocusPageControl(int page)
{
    switch (page) {
    case 1:
        if (auto* name = Ctl<QLineEdit>(kGeName)) {
            name->setFocus();
            name->deselect();
        }
        break;
    case 2: Control(kGeLabels)->setFocus(); break;
    case 3:
        if (auto* minimum = Ctl<QLineEdit>(kGeXMin)) {
            minimum->setFocus();
            minimum->deselect();
            minimum->setCursorPosition(minimum->cursorPosition());
        }
        break;
    case 4: Control(kGeFields)->setFocus(); break;
    default: break;
    }
}

// --- the Graph page's steps -----------------------------------------------------------------------

void CGraphTypeEditView::StepGlaze(int direction)
{
    QComboBox* glazes = Ctl<QComboBox>(kGeGraphGlaze);
    const int row = glazes->currentIndex() + direction;
    if (row >= 0 && row < glazes->count()) {
        glazes->setCurrentIndex(row);
        InvalidatePreview();
        return;
    }
    StepDatabase(direction, direction < 0);
}

// Moves to the database before or after the chosen one, with its first glaze (its last with
// lastGlaze); before the first database the choice becomes empty.
void CGraphTypeEditView::StepDatabase(int direction, bool lastGlaze)
{
    QComboBox* databases = Ctl<QComboBox>(kGeGraphDatabase);
    const int current = databases->currentIndex();
    int row = current + direction;
    if (direction < 0 && current < 0)
        return;
    if (direction > 0 && row >= databases->count())
        return;
    if (row < 0)
        row = -1;
    databases->setCurrentIndex(row);
    FillGraphGlazeCombo(lastGlaze ? -2 : 0);
    InvalidatePreview();
}

void CGraphTypeEditView::StepType(int direction)
{
    QComboBox* types = Ctl<QComboBox>(kGeType);
    const int type = types->currentIndex() >= 0 ? types->currentData().toInt() : m_template.type;
    const int next = type + direction;
    if (next < 0 || next > 24)
        return;
    types->setCurrentIndex(types->findData(next));
    OnTypeChosen();
    InvalidatePreview();
}

void CGraphTypeEditView::StepLimitFormula(int direction)
{
    QComboBox* limits = Ctl<QComboBox>(kGeLimit);
    const int current = limits->findText(limits->currentText());
    const int row = current + direction;
    if (direction < 0 && current < 1)
        return;
    if (row < 0 || row >= limits->count())
        return;
    limits->setCurrentIndex(row);
    MarkModified();
    InvalidatePreview();
}
