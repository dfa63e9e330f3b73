#include "support/EditLineDlg.h"

#include "framework/Cp1252.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr const char* kDefaultTitle = "Edit";
constexpr int kPromptId = 2008;
constexpr int kLineEditId = 2002;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CEditLineDlg::CEditLineDlg(QWidget* parent, const std::string& title, unsigned help)
    : CStyledDialog(parent, help), caption(title)
{
    ResizeDlu(304, 105);
    m_prompt = new QLabel(this);
    SetControlId(m_prompt, kPromptId);
    m_prompt->setWordWrap(true);
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceDlu(m_prompt, 7, 7, 290, 18);
    m_edit = new QLineEdit(this);
    SetControlId(m_edit, kLineEditId);
    PlaceDlu(m_edit, 7, 30, 290, 12);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 84, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 220, 84, 50, 14);
    m_helpButton = AddHelpButton(277, 84, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CEditLineDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CEditLineDlg::reject);
    setFixedSize(size());
}

void CEditLineDlg::OnInitDialog()
{
    setWindowTitle(FromCp1252(caption.empty() ? std::string(kDefaultTitle) : caption));
    m_prompt->setText(FromCp1252(prompt));
    m_edit->setText(FromCp1252(text));
    m_edit->selectAll();
    m_edit->setFocus();
}

void CEditLineDlg::accept()
{
    InitDialog();
    text = ToCp1252(m_edit->text());
    CStyledDialog::accept();
}
