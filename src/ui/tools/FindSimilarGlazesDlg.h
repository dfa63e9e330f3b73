#pragma once

// The Find Similar Glazes dialog: which glazes (the selected or all, of the current or of all
// open databases) are compared with which, by which of eight measures, and how the report is
// written. It opens with the choices of its last OK (kept in the working preferences for the
// run; "Include Additions" starts from the analysis preference until the first OK) and stores
// them there on OK.

#include "tools/FindSimilarGlazes.h"
#include "support/SimilarSearchDlg.h"

class QButtonGroup;
class QCheckBox;

inline constexpr unsigned kFindSimilarGlazesHelpId = 404;

class CFindSimilarGlazesDlg : public CSimilarSearchDlg {
    Q_OBJECT

public:
    explicit CFindSimilarGlazesDlg(QWidget* parent = nullptr);

    CFindSimilarGlazesRequest request;

    QButtonGroup* CompareDatabaseGroup() const { return m_compareDb; }
    QButtonGroup* CompareToDatabaseGroup() const { return m_compareToDb; }
    QCheckBox* IncludeAdditionsBox() const { return m_includeAdditions; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;
    bool SelectSimilarAllowed() const override;

private:
    QButtonGroup* m_compareDb = nullptr;
    QButtonGroup* m_compareToDb = nullptr;
    QCheckBox* m_includeAdditions = nullptr;
};

// The request of the working preferences' remembered choices, and the other way round.
CFindSimilarGlazesRequest RememberedSimilarGlazesRequest();
void RememberSimilarGlazesRequest(const CFindSimilarGlazesRequest& request);
