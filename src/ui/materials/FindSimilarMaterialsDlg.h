#pragma once

// The Find Similar Materials dialog: which materials (the selected or all) are compared with
// which, by which of six oxide categories, and how the report is written. It opens with the
// choices of its last OK (kept in the working preferences for the run) and stores them there
// on OK.

#include "materials/SimilarMaterials.h"
#include "support/SimilarSearchDlg.h"

class CListView31;
class CMaterialsDoc;

inline constexpr unsigned kFindSimilarMaterialsHelpId = 406;

class CFindSimilarMaterialsDlg : public CSimilarSearchDlg {
    Q_OBJECT

public:
    explicit CFindSimilarMaterialsDlg(QWidget* parent = nullptr);

    CFindSimilarMaterialsRequest request;

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;
};

CFindSimilarMaterialsRequest RememberedSimilarMaterialsRequest();
void RememberSimilarMaterialsRequest(const CFindSimilarMaterialsRequest& request);

// "Fin&d Similar Materials" of the materials list: list is the list view, whose selection the
// search reads and, with "Select similar materials", marks. False when the user cancelled the
// dialog or the search.
bool RunFindSimilarMaterialsCommand(CMaterialsDoc& document, CListView31& list, QWidget* parent);
