#pragma once

// The Mix Glazes dialog: up to four glazes of the database, each with its part by weight. Each
// glaze list starts with an empty line, so list position 0 means "no glaze" and position k the
// glaze k - 1. The caller fills request (MakeMixGlazesRequest), runs the dialog and on OK reads
// request back, a glaze index -1 for a row without a glaze.

#include "tools/MixGlazes.h"
#include "support/ToolDlg.h"

#include <array>

class CGlazesDoc;
class QComboBox;
class QLineEdit;

inline constexpr unsigned kMixGlazesHelpId = 369;

class CMixGlazesDlg : public CToolDlg {
    Q_OBJECT

public:
    static constexpr int kFirstGlazeListId = 7050;
    static constexpr int kFirstPartsId = 7056;

    explicit CMixGlazesDlg(CGlazesDoc& document, QWidget* parent = nullptr);

    CMixGlazesRequest request;
    CGlazesDoc* const document;

    // The list positions as the dialog hands them back: 0 for the empty line, -1 for none.
    std::array<int, kMixSlots> positions{-1, -1, -1, -1};

    QComboBox* GlazeList(int row) const { return m_glazeLists[static_cast<std::size_t>(row)]; }
    QLineEdit* PartsEdit(int row) const { return m_parts[static_cast<std::size_t>(row)]; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    std::array<QComboBox*, kMixSlots> m_glazeLists{};
    std::array<QLineEdit*, kMixSlots> m_parts{};
};
