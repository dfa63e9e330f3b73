#include "materials/FindMaterialsDlg.h"

#include "framework/Cp1252.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr unsigned kFindHelpId = 340;
constexpr int kCodesId = 2160;
constexpr int kFormulasId = 2161;
constexpr int kNamesId = 2162;
constexpr int kNotesId = 2163;
constexpr int kTextId = 2164;
constexpr int kWholeId = 2165;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

} // namespace

CFindMaterialsDlg::CFindMaterialsDlg(QWidget* parent)
    : CStyledDialog(parent, kFindHelpId)
{
    setWindowTitle(QStringLiteral("Find Materials"));
    ResizeDlu(230, 110);
    auto* prompt = new QLabel(QStringLiteral("String to locate :"), this);
    PlaceDlu(prompt, 8, 10, 70, 10);
    m_text = new QLineEdit(this);
    SetControlId(m_text, kTextId);
    PlaceDlu(m_text, 78, 8, 144, 12);
    m_names = AddCheck("Names", kNamesId, 12, 30, 90);
    m_codes = AddCheck("Codes", kCodesId, 12, 44, 90);
    m_formulas = AddCheck("Formulas", kFormulasId, 12, 58, 90);
    m_notes = AddCheck("Notes and Comments", kNotesId, 110, 30, 110);
    m_whole = AddCheck("Whole Name or Code Only", kWholeId, 110, 44, 110);
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 8, 88, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 146, 88, 50, 14);
    AddHelpButton(202, 88, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CFindMaterialsDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CFindMaterialsDlg::reject);
    setFixedSize(size());
}

QCheckBox* CFindMaterialsDlg::AddCheck(const char* label, int id, int x, int y, int width)
{
    auto* check = new QCheckBox(QString::fromLatin1(label), this);
    SetControlId(check, id);
    PlaceDlu(check, x, y, width, 10);
    return check;
}

void CFindMaterialsDlg::OnInitDialog()
{
    m_codes->setChecked(findCodes != 0);
    m_formulas->setChecked(findFormulas != 0);
    m_names->setChecked(findNames != 0);
    m_notes->setChecked(findNotes != 0);
    m_whole->setChecked(wholeOnly != 0);
    m_text->setText(FromCp1252(text));
    m_text->selectAll();
    m_text->setFocus();
}

void CFindMaterialsDlg::accept()
{
    InitDialog();
    findCodes = m_codes->isChecked() ? 1 : 0;
    findFormulas = m_formulas->isChecked() ? 1 : 0;
    findNames = m_names->isChecked() ? 1 : 0;
    findNotes = m_notes->isChecked() ? 1 : 0;
    wholeOnly = m_whole->isChecked() ? 1 : 0;
    text = ToCp1252(m_text->text());
    CStyledDialog::accept();
}
