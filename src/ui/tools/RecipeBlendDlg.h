#pragma once

// The Line Blend, Triaxial Blend and Square Blend dialogs: the end glazes of a blend, chosen by
// name from the glaze database's list, and the number of intermediate points between them. The
// caller fills request (MakeRecipeBlendRequest), runs the dialog and on OK reads request back;
// an end glaze that is not chosen stays -1, which the blend command deals with. The dialog
// neither reads nor changes the glazes themselves.

#include "tools/Blend.h"
#include "support/ToolDlg.h"

#include <array>

class CGlazesDoc;
class QComboBox;
class QLineEdit;

inline constexpr unsigned kLineBlendHelpId = 367;
inline constexpr unsigned kTriaxialBlendHelpId = 368;
inline constexpr unsigned kSquareBlendHelpId = 407;

class CRecipeBlendDlg : public CToolDlg {
    Q_OBJECT

public:
    static constexpr int kFirstGlazeListId = 7050;
    static constexpr int kPointsABId = 7054;
    static constexpr int kPointsACId = 7055;

    CRecipeBlendDlg(CGlazesDoc& document, int kind, QWidget* parent);

    CRecipeBlendRequest request;
    CGlazesDoc* const document;

    // The list of end glaze 0..3 (A..D), null beyond the blend's end glazes.
    QComboBox* GlazeList(int endpoint) const;
    QLineEdit* PointsABEdit() const { return m_pointsAB; }
    QLineEdit* PointsACEdit() const { return m_pointsAC; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void BuildControls();

    std::array<QComboBox*, 4> m_glazeLists{};
    QLineEdit* m_pointsAB = nullptr;
    QLineEdit* m_pointsAC = nullptr;
};

class CLineBlendDlg : public CRecipeBlendDlg {
    Q_OBJECT

public:
    CLineBlendDlg(CGlazesDoc& document, QWidget* parent = nullptr)
        : CRecipeBlendDlg(document, kLineBlend, parent)
    {
    }
};

class CTriaxialBlendDlg : public CRecipeBlendDlg {
    Q_OBJECT

public:
    CTriaxialBlendDlg(CGlazesDoc& document, QWidget* parent = nullptr)
        : CRecipeBlendDlg(document, kTriaxialBlend, parent)
    {
    }
};

class CSquareBlendDlg : public CRecipeBlendDlg {
    Q_OBJECT

public:
    CSquareBlendDlg(CGlazesDoc& document, QWidget* parent = nullptr)
        : CRecipeBlendDlg(document, kSquareBlend, parent)
    {
    }
};

// Fills combo with the names of the document's glazes in list order.
void FillBlendGlazeList(QComboBox& combo, CGlazesDoc& document);
