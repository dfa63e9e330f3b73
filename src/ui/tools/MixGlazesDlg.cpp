#include "tools/MixGlazesDlg.h"

#include "glazes/GlazesDoc.h"
#include "tools/RecipeBlendDlg.h"

#include <QComboBox>
#include <QLineEdit>

#include <limits>

CMixGlazesDlg::CMixGlazesDlg(CGlazesDoc& doc, QWidget* parent)
    : CToolDlg(parent, kMixGlazesHelpId, "ged_tab"), document(&doc)
{
    setWindowTitle(QStringLiteral("Mix Glazes"));
    AddLabel(QStringLiteral("Glaze"), 0, 8, 6, 60);
    AddLabel(QStringLiteral("Parts by weight"), 0, 166, 6, 70);
    for (int row = 0; row < kMixSlots; ++row) {
        const int y = 18 + row * 18;
        m_glazeLists[static_cast<std::size_t>(row)] = AddCombo(kFirstGlazeListId + row, 8, y, 150);
        m_parts[static_cast<std::size_t>(row)] = AddEdit(kFirstPartsId + row, 166, y, 50);
    }
    AddOkCancelHelp(84, 96);
    ResizeDlu(224, 118);
    setFixedSize(size());
}

void CMixGlazesDlg::OnInitDialog()
{
    for (int row = 0; row < kMixSlots; ++row) {
        const std::size_t slot = static_cast<std::size_t>(row);
        QComboBox* list = m_glazeLists[slot];
        list->clear();
        list->addItem(QString());
        FillBlendGlazeList(*list, *document);
        const int glaze = request.glazes[slot];
        positions[slot] = glaze >= 0 && glaze + 1 < list->count() ? glaze + 1 : -1;
        list->setCurrentIndex(positions[slot]);
        m_parts[slot]->setText(NumberText(request.parts[slot]));
    }
}

// Parts are read as numbers without a range: the mixture leaves out rows without a positive part.
void CMixGlazesDlg::accept()
{
    InitDialog();
    std::array<double, kMixSlots> parts{};
    constexpr double kLargest = std::numeric_limits<double>::max();
    for (std::size_t slot = 0; slot < parts.size(); ++slot)
        if (!ReadNumber(m_parts[slot], -kLargest, kLargest, parts[slot]))
            return;
    for (std::size_t slot = 0; slot < parts.size(); ++slot) {
        positions[slot] = m_glazeLists[slot]->currentIndex();
        request.glazes[slot] = positions[slot] > 0 ? positions[slot] - 1 : -1;
        request.parts[slot] = parts[slot];
    }
    CToolDlg::accept();
}
