// The Check Ingredients command as the glaze list runs it: the first dialog, then the run with the
// two disposition dialogs answering its questions.

#include "glazes/CheckIngredients.h"

#include "glazes/CheckIngredientsDlg.h"
#include "glazes/CheckIngredientsMapDlg.h"
#include "glazes/CheckIngredientsSkipDlg.h"

namespace {

class CDialogPrompter : public CCheckIngredientsPrompter {
public:
    explicit CDialogPrompter(QWidget* parent) : m_parent(parent) {}

    int AskUnknown(const std::string& name, int& action, std::string& target) override
    {
        CCheckIngredientsMapDlg dialog(m_parent);
        dialog.name = name;
        dialog.choice = action;
        const int result = dialog.exec();
        action = dialog.choice;
        target = dialog.target;
        return result == QDialog::Rejected ? 2 : result;
    }

    int AskUnavailable(const std::string& name) override
    {
        CCheckIngredientsSkipDlg dialog(m_parent);
        dialog.name = name;
        const int result = dialog.exec();
        return result == QDialog::Rejected ? 2 : result;
    }

private:
    QWidget* m_parent;
};

} // namespace

bool RunCheckIngredients(CGlazesDoc& document, CView* sender, QWidget* parent, const std::function<void()>& fillList)
{
    CCheckIngredientsDlg dialog(parent);
    dialog.options = CCheckIngredientsOptions::Remembered();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.options.Remember();
    CDialogPrompter prompter(parent);
    CCheckIngredients(document, sender).Run(dialog.options, prompter, fillList);
    return true;
}
