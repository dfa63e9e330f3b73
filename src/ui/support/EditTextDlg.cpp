#include "support/EditTextDlg.h"

#include "framework/Cp1252.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"

#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr const char* kDefaultTitle = "Edit";
constexpr int kTextEditId = 2002;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CEditTextDlg::CEditTextDlg(QWidget* parent, const std::string& title, unsigned help, int readOnlyFlag)
    : CAnchoredDialog(parent, help), readOnly(readOnlyFlag), caption(title)
{
    ResizeDlu(352, 217);
    m_edit = new CNotesEdit(this);
    SetControlId(m_edit, kTextEditId);
    PlaceDlu(m_edit, 7, 7, 338, 182);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 196, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 268, 196, 50, 14);
    m_helpButton = AddHelpButton(325, 196, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CEditTextDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CEditTextDlg::reject);
}

void CEditTextDlg::OnInitDialog()
{
    InitLayout();
    AddAnchor(m_edit, AnchorTopLeft, AnchorBottomRight);
    AddAnchor(m_okButton, AnchorBottomLeft, AnchorNone);
    AddAnchor(m_cancelButton, AnchorBottomRight, AnchorNone);
    AddAnchor(m_helpButton, AnchorBottomRight, AnchorNone);
    setWindowTitle(FromCp1252(caption.empty() ? std::string(kDefaultTitle) : caption));
    m_edit->setFont(EditBoxFont(m_edit->font()));
    LoadData();
}

void CEditTextDlg::LoadData()
{
    m_edit->setPlainText(EditTextFromCore(text));
    if (linesMode != 0) {
        std::string appended;
        for (const std::string& line : lines) {
            appended += line;
            appended += "\r\n";
        }
        QTextCursor cursor(m_edit->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(EditTextFromCore(appended));
    }
    m_edit->moveCursor(QTextCursor::Start);
    m_edit->ensureCursorVisible();
    m_edit->document()->setModified(false);
    m_edit->setReadOnly(readOnly != 0);
}

void CEditTextDlg::SaveData()
{
    text = CoreTextFromEdit(*m_edit);
    if (linesMode != 0)
        ReadWholeEditLines(*m_edit, lines);
}

void CEditTextDlg::accept()
{
    InitDialog();
    if (!m_edit->document()->isModified()) {
        reject();
        return;
    }
    SaveData();
    CAnchoredDialog::accept();
}
