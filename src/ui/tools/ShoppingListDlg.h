#pragma once

// "Make Shopping List": for which glazes (the selected ones or all of the database), at which
// size (each glaze's working batch size, its recipe size, or a size typed in grams) and in
// which unit the materials to buy are added up. The dialog opens with the choices of its last
// OK (kept in the working preferences for the run) and stores them there on OK; the size text
// is kept as typed and read by the command.

#include "tools/ShoppingList.h"
#include "support/ToolDlg.h"

class QButtonGroup;
class QLineEdit;

inline constexpr unsigned kShoppingListDlgHelpId = 412;

class CShoppingListDlg : public CToolDlg {
    Q_OBJECT

public:
    enum ControlId : int {
        IdSelectedGlazes = 7090,
        IdAllGlazes = 7091,
        IdWorkingBatchSize = 7092,
        IdRecipeSize = 7093,
        IdCustomSize = 7094,
        IdPounds = 7095,
        IdKilograms = 7096,
        IdGrams = 7097,
        IdSizeText = 7098,
    };

    explicit CShoppingListDlg(QWidget* parent = nullptr);

    CShoppingListRequest request;

    QButtonGroup* GlazesGroup() const { return m_glazes; }
    QButtonGroup* SizeGroup() const { return m_size; }
    QButtonGroup* UnitGroup() const { return m_unit; }
    QLineEdit* SizeEdit() const { return m_sizeText; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QButtonGroup* m_glazes = nullptr;
    QButtonGroup* m_size = nullptr;
    QButtonGroup* m_unit = nullptr;
    QLineEdit* m_sizeText = nullptr;
};
