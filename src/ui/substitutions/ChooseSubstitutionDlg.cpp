#include "substitutions/ChooseSubstitutionDlg.h"

#include "framework/Cp1252.h"
#include "shell/AppContext.h"
#include "shell/NamedColors.h"
#include "shell/Preferences.h"
#include "substitutions/SubstitutionLines.h"
#include "substitutions/SubstitutionsDoc.h"
#include "support/PlainTextEditLines.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// The set boxes line up name and amount at these stops (dialog units).
const std::vector<int> kSetTabStops = {70, 80, 90, 100};

const CSubstitutionList* Database()
{
    return g_pSubstitutionsDoc ? &g_pSubstitutionsDoc->Substitutions() : nullptr;
}

QString BoxText(const CStringArrayEx& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return EditTextFromCore(text);
}

void ShowLines(QPlainTextEdit& edit, const CStringArrayEx& lines)
{
    edit.setPlainText(BoxText(lines));
    edit.moveCursor(QTextCursor::Start);
    edit.ensureCursorVisible();
}

QLabel* AddLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

} // namespace

CChooseSubstitutionDlg::CChooseSubstitutionDlg(QWidget* parent)
    : CStyledDialog(parent, kChooseSubstitutionHelpId), listColor(GetNamedColor("sub_list"))
{
    setWindowTitle(QStringLiteral("Choose a Substitution"));
    ResizeDlu(334, 213);
    CreateControls();
}

void CChooseSubstitutionDlg::CreateControls()
{
    PlaceDlu(AddLabel(this, QStringLiteral("Substitutions :")), 7, 5, 120, 9);
    m_list = new QListWidget(this);
    SetControlId(m_list, kChooseSubstitutionListId);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    PlaceDlu(m_list, 7, 15, 150, 168);

    const auto addSetBox = [this](const QString& caption, int id, int y) {
        PlaceDlu(AddLabel(this, caption), 166, y, 120, 9);
        auto* edit = new QPlainTextEdit(this);
        SetControlId(edit, id);
        edit->setReadOnly(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        const std::vector<int> stops = TabStopsFromDlu(edit->font(), kSetTabStops);
        edit->setTabStopDistance(stops.front());
        PlaceDlu(edit, 166, y + 10, 161, 74);
        return edit;
    };
    m_set1Edit = addSetBox(QStringLiteral("Material(s) :"), kChooseSubstitutionSet1Id, 5);
    m_set2Edit = addSetBox(QStringLiteral("Substitution :"), kChooseSubstitutionSet2Id, 99);

    m_makeButton = AddButton(QStringLiteral("Make Substitution"), kIdOk, 7, 192, 80, 14);
    m_reverseButton = AddButton(QStringLiteral("Make Reverse Substitution"), kChooseSubstitutionReverseId, 92, 192, 110, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 224, 192, 50, 14);
    m_helpButton = AddHelpButton(307, 192, 20, 14);

    connect(m_makeButton, &QPushButton::clicked, this, &CChooseSubstitutionDlg::accept);
    connect(m_reverseButton, &QPushButton::clicked, this, &CChooseSubstitutionDlg::OnMakeReverse);
    connect(m_cancelButton, &QPushButton::clicked, this, &CChooseSubstitutionDlg::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CChooseSubstitutionDlg::OnListSelection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CChooseSubstitutionDlg::accept);
}

void CChooseSubstitutionDlg::SelectSubstitution(int index)
{
    const CSubstitutionList* database = Database();
    const CSubstitution* record = database ? database->GetAt(index) : nullptr;
    set1Lines.clear();
    set2Lines.clear();
    if (!record) {
        current = -1;
        return;
    }
    current = index;
    const int decimals = CAppContext::IsActive() ? g_prefs.decrecipe : 2;
    const int keep = CAppContext::IsActive() ? g_prefs.tzsrecipe : 2;
    // A copy: the display must not depend on the record staying where it is.
    const CSubstitution copy = *record;
    FormatSetLines(set1Lines, copy.m_set1, decimals, keep);
    FormatSetLines(set2Lines, copy.m_set2, decimals, keep);
}

void CChooseSubstitutionDlg::OnInitDialog()
{
    QPalette colors = m_list->palette();
    colors.setColor(QPalette::Base, ToQColor(listColor));
    m_list->setPalette(colors);
    LoadControls();
}

void CChooseSubstitutionDlg::LoadControls()
{
    m_loading = true;
    if (!listFilled) {
        m_list->clear();
        if (const CSubstitutionList* database = Database()) {
            for (int i = 0; i < database->GetCount(); ++i)
                m_list->addItem(FromCp1252(database->GetAt(i)->m_name));
        }
        listFilled = 1;
    }
    if (current >= 0 && current < m_list->count())
        m_list->setCurrentRow(current);
    else
        m_list->clearSelection();
    ShowLines(*m_set1Edit, set1Lines);
    ShowLines(*m_set2Edit, set2Lines);
    m_loading = false;
}

void CChooseSubstitutionDlg::OnListSelection()
{
    if (m_loading)
        return;
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    SelectSubstitution(chosen.isEmpty() ? -1 : m_list->row(chosen.front()));
    LoadControls();
}

void CChooseSubstitutionDlg::OnMakeReverse()
{
    reverse = 1;
    accept();
}
