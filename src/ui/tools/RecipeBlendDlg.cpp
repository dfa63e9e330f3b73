#include "tools/RecipeBlendDlg.h"

#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

struct CBlendLayout {
    const char* title;
    unsigned helpId;
    std::array<const char*, 4> glazeLabels;
    const char* pointsABLabel;
    const char* pointsACLabel;
};

constexpr CBlendLayout kLayouts[] = {
    {"Line Blend", kLineBlendHelpId, {"Glaze A :", "Glaze B :", nullptr, nullptr},
     "Intermediate points between A and B :", nullptr},
    {"Triaxial Blend", kTriaxialBlendHelpId, {"Glaze A :", "Glaze B :", "Glaze C :", nullptr},
     "Intermediate points along the edges :", nullptr},
    {"Square Blend", kSquareBlendHelpId,
     {"Glaze A (upper left) :", "Glaze B (upper right) :", "Glaze C (lower left) :", "Glaze D (lower right) :"},
     "Intermediate points between A and B :", "Intermediate points between A and C :"},
};

const CBlendLayout& LayoutOf(int kind)
{
    return kLayouts[BlendEndpointCount(kind) - 2];
}

QString PointsText(int points)
{
    return QString::number(points);
}

} // namespace

void FillBlendGlazeList(QComboBox& combo, CGlazesDoc& document)
{
    for (int n = 0; n < document.GetGlazeCount(); ++n)
        combo.addItem(FromCp1252(document.GetGlaze(n)->m_name));
}

CRecipeBlendDlg::CRecipeBlendDlg(CGlazesDoc& doc, int kind, QWidget* parent)
    : CToolDlg(parent, LayoutOf(kind).helpId, "ged_tab"), document(&doc)
{
    request.kind = kind;
    setWindowTitle(QString::fromLatin1(LayoutOf(kind).title));
    BuildControls();
}

void CRecipeBlendDlg::BuildControls()
{
    const CBlendLayout& layout = LayoutOf(request.kind);
    const int endpoints = BlendEndpointCount(request.kind);
    int y = 8;
    for (int e = 0; e < endpoints; ++e, y += 18) {
        AddLabel(QString::fromLatin1(layout.glazeLabels[static_cast<std::size_t>(e)]), 0, 8, y + 2, 90);
        m_glazeLists[static_cast<std::size_t>(e)] = AddCombo(kFirstGlazeListId + e, 100, y, 150);
    }
    y += 4;
    AddLabel(QString::fromLatin1(layout.pointsABLabel), 0, 8, y + 2, 150);
    m_pointsAB = AddEdit(kPointsABId, 160, y, 30);
    y += 18;
    if (layout.pointsACLabel) {
        AddLabel(QString::fromLatin1(layout.pointsACLabel), 0, 8, y + 2, 150);
        m_pointsAC = AddEdit(kPointsACId, 160, y, 30);
        y += 18;
    }
    AddOkCancelHelp(118, y + 4);
    ResizeDlu(258, y + 26);
    setFixedSize(size());
}

QComboBox* CRecipeBlendDlg::GlazeList(int endpoint) const
{
    return endpoint >= 0 && endpoint < 4 ? m_glazeLists[static_cast<std::size_t>(endpoint)] : nullptr;
}

// The lists are filled once, when the dialog first loads its controls.
void CRecipeBlendDlg::OnInitDialog()
{
    for (std::size_t e = 0; e < m_glazeLists.size(); ++e) {
        QComboBox* list = m_glazeLists[e];
        if (!list)
            continue;
        list->clear();
        FillBlendGlazeList(*list, *document);
        const int position = request.endpoints[e];
        list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
    }
    m_pointsAB->setText(PointsText(request.pointsAB));
    if (m_pointsAC)
        m_pointsAC->setText(PointsText(request.pointsAC));
}

void CRecipeBlendDlg::accept()
{
    InitDialog();
    int pointsAB = 0;
    int pointsAC = request.pointsAC;
    if (!ReadWholeNumber(m_pointsAB, kMinBlendPoints, kMaxBlendPoints, pointsAB))
        return;
    if (m_pointsAC && !ReadWholeNumber(m_pointsAC, kMinBlendPoints, kMaxBlendPoints, pointsAC))
        return;
    for (std::size_t e = 0; e < m_glazeLists.size(); ++e)
        request.endpoints[e] = m_glazeLists[e] ? m_glazeLists[e]->currentIndex() : -1;
    request.pointsAB = pointsAB;
    request.pointsAC = pointsAC;
    CToolDlg::accept();
}
