#include "support/DbNotesDlg.h"

#include "framework/Cp1252.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {

constexpr const char* kDefaultTitle = "Database Notes and Information";
constexpr int kNameEditId = 2412;
constexpr int kFileNameId = 2410;
constexpr int kNotesEditId = 2411;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CDbNotesDlg::CDbNotesDlg(QWidget* parent, const std::string& title, unsigned help)
    : CDbNotesDlg(parent, title, help, 0)
{
}

CDbNotesDlg::CDbNotesDlg(QWidget* parent, const std::string& title, unsigned help, int readOnlyFlag)
    : CAnchoredDialog(parent, help), readOnly(readOnlyFlag), caption(title), editColor(GetNamedColor("mono_white"))
{
    CreateControls();
}

void CDbNotesDlg::CreateControls()
{
    ResizeDlu(418, 246);
    PlaceDlu(new QLabel(QStringLiteral("Database Name :"), this), 7, 9, 64, 8);
    m_nameEdit = new QLineEdit(this);
    SetControlId(m_nameEdit, kNameEditId);
    PlaceDlu(m_nameEdit, 74, 7, 200, 12);
    PlaceDlu(new QLabel(QStringLiteral("File Name :"), this), 7, 24, 64, 8);
    m_fileLabel = new QLabel(this);
    SetControlId(m_fileLabel, kFileNameId);
    m_fileLabel->setTextFormat(Qt::PlainText);
    PlaceDlu(m_fileLabel, 74, 24, 337, 8);
    m_notesEdit = new CNotesEdit(this);
    SetControlId(m_notesEdit, kNotesEditId);
    PlaceDlu(m_notesEdit, 7, 38, 404, 180);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 225, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 334, 225, 50, 14);
    m_helpButton = AddHelpButton(391, 225, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CDbNotesDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CDbNotesDlg::reject);
}

void CDbNotesDlg::OnInitDialog()
{
    InitLayout();
    AddAnchor(m_nameEdit, AnchorTopLeft, AnchorNone);
    AddAnchor(m_notesEdit, AnchorTopLeft, AnchorBottomRight);
    AddAnchor(m_okButton, AnchorBottomLeft, AnchorNone);
    AddAnchor(m_cancelButton, AnchorBottomRight, AnchorNone);
    AddAnchor(m_helpButton, AnchorBottomRight, AnchorNone);

    setWindowTitle(FromCp1252(caption.empty() ? std::string(kDefaultTitle) : caption));
    for (QWidget* box : {static_cast<QWidget*>(m_nameEdit), static_cast<QWidget*>(m_notesEdit)}) {
        box->setFont(EditBoxFont(box->font()));
        QPalette colors = box->palette();
        colors.setColor(QPalette::Base, ToQColor(editColor));
        box->setPalette(colors);
    }
    m_nameEdit->setReadOnly(readOnly != 0);
    m_notesEdit->setReadOnly(readOnly != 0);
    LoadData();
}

void CDbNotesDlg::LoadData()
{
    m_nameEdit->setText(FromCp1252(databaseName));
    m_nameEdit->setModified(false);
    m_fileLabel->setText(FromCp1252(fileName));
    std::string text;
    for (const std::string& line : notes) {
        text += line;
        text += "\r\n";
    }
    m_notesEdit->setPlainText(EditTextFromCore(text));
    m_notesEdit->moveCursor(QTextCursor::Start);
    m_notesEdit->ensureCursorVisible();
    m_notesEdit->document()->setModified(false);
}

void CDbNotesDlg::SaveData()
{
    databaseName = ToCp1252(m_nameEdit->text());
    ReadWholeEditLines(*m_notesEdit, notes);
}

void CDbNotesDlg::accept()
{
    InitDialog();
    if (!m_notesEdit->document()->isModified() && !m_nameEdit->isModified()) {
        reject();
        return;
    }
    SaveData();
    CAnchoredDialog::accept();
}
