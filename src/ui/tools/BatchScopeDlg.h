#pragma once

// "Batch Calculation": which part of a recipe with components and additions the batch
// calculator recalculates (0 components only, 1 additions only, 2 the entire recipe). The
// caller passes in the last choice, may set the title and the help context, runs the dialog
// and on OK reads the choice.

#include "support/ToolDlg.h"

#include <string>

class QButtonGroup;

inline constexpr unsigned kBatchScopeHelpId = 365;

enum BatchScope : int {
    kBatchComponentsOnly = 0,
    kBatchAdditionsOnly = 1,
    kBatchEntireRecipe = 2,
};

class CBatchScopeDlg : public CToolDlg {
    Q_OBJECT

public:
    static constexpr int kFirstChoiceId = 7062;

    explicit CBatchScopeDlg(QWidget* parent = nullptr);

    int choice = kBatchComponentsOnly;
    std::string title; // empty: "Batch Calculation"; the help context is helpId

    QButtonGroup* ChoiceGroup() const { return m_choices; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QButtonGroup* m_choices = nullptr;
};
