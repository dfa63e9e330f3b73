// The limits of the limit-formula edit form: the list, the fields of the selected limit and the
// buttons that append, delete and order limits.

#include "limits/LimitFormulaEditView.h"

#include "framework/Cp1252.h"
#include "limits/LimitFormulaDB.h"
#include "limits/LimitNumberText.h"
#include "support/DialogStyle.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cfloat>
#include <limits>

namespace {

std::string Trimmed(const QString& text)
{
    std::string bytes = ToCp1252(text);
    return TrimString(bytes);
}

} // namespace

std::string CLimitFormulaEditView::RangeText(const std::string& from, const std::string& to)
{
    if (!from.empty() && !to.empty())
        return from + " - " + to;
    if (!from.empty())
        return (ParseDouble(from) == 0.0 ? "> " : ">= ") + from;
    if (!to.empty())
        return "<= " + to;
    return std::string();
}

std::string CLimitFormulaEditView::LimitRow(int index) const
{
    const CLimit& limit = m_limits.GetAt(index);
    return " " + limit.m_comboName + "\t" + limit.GetRange() + (limit.m_byPercent ? " %" : "");
}

void CLimitFormulaEditView::FillLimitsList()
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    m_limitsList->clear();
    for (int i = 0; i < m_limits.GetCount(); ++i)
        m_limitsList->addItem(FromCp1252(LimitRow(i)));
    if (m_nLimit >= 0 && m_nLimit < m_limitsList->count())
        m_limitsList->setCurrentRow(m_nLimit);
    m_bLoading = loading;
}

void CLimitFormulaEditView::RefreshLimitRow(int index)
{
    if (index < 0 || index >= m_limitsList->count())
        return;
    const bool loading = m_bLoading;
    m_bLoading = true;
    m_limitsList->item(index)->setText(FromCp1252(LimitRow(index)));
    m_limitsList->setCurrentRow(index);
    m_bLoading = loading;
}

void CLimitFormulaEditView::FillCombinationBox()
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    const QString text = m_combination->currentText();
    m_combination->clear();
    if (const CLimitFormulaDB* database = Database()) {
        for (int i = 0; i < database->m_combinations.GetCount(); ++i)
            m_combination->addItem(FromCp1252(database->m_combinations.GetAt(i).m_name));
    }
    m_combination->setEditText(text);
    m_bLoading = loading;
}

void CLimitFormulaEditView::SelectLimit(int index)
{
    m_bLoading = true;
    m_nLimit = index >= 0 && index < m_limits.GetCount() ? index : -1;
    if (m_nLimit < 0) {
        m_limitsList->clearSelection();
        m_combination->setEditText(QString());
        m_from->clear();
        m_to->clear();
        m_byPercent->setChecked(false);
        m_committedRange.clear();
    } else {
        m_limitsList->setCurrentRow(m_nLimit);
        const CLimit& limit = m_limits.GetAt(m_nLimit);
        m_combination->setEditText(FromCp1252(limit.m_comboName));
        m_from->setText(limit.HasMinimum() ? FromCp1252(FormatLimitNumber(limit.GetMinimum())) : QString());
        m_to->setText(limit.HasMaximum() ? FromCp1252(FormatLimitNumber(limit.GetMaximum())) : QString());
        m_byPercent->setChecked(limit.m_byPercent != 0);
        m_committedRange = limit.GetRange();
    }
    m_bLoading = false;
    UpdateButtons();
}

void CLimitFormulaEditView::ApplyFieldsToLimit()
{
    if (m_nLimit < 0 || m_nLimit >= m_limits.GetCount())
        return;
    CLimit& limit = m_limits.GetAt(m_nLimit);
    const std::string combination = ToCp1252(m_combination->currentText());
    const std::string from = Trimmed(m_from->text());
    const std::string to = Trimmed(m_to->text());
    // A bound that is no number is not taken into the limit (it would be read as the number its
    // text begins with, and "1" of "1,5" stood in it while the user typed): the limit keeps the
    // range it had before its fields were typed into, until leaving the field or saving refuses
    // the bound. Typed, it is a change all the same: the form asks before it is left.
    const bool numbers = NumberTextRefusal(from, DBL_MAX).empty() && NumberTextRefusal(to, DBL_MAX).empty();
    if (!numbers)
        SetModified(true);
    const std::string range = numbers ? RangeText(from, to) : m_committedRange;
    const int byPercent = m_byPercent->isChecked() ? 1 : 0;
    // Leaving a field rewrites its number: that alone changes nothing to save.
    if (limit.m_comboName == combination && limit.GetRange() == range && limit.m_byPercent == byPercent)
        return;
    limit.m_comboName = combination;
    limit.SetRange(range);
    limit.m_byPercent = byPercent;
    RefreshLimitRow(m_nLimit);
    SetModified(true);
}

void CLimitFormulaEditView::CombinationLeft()
{
    const QString typed = m_combination->currentText();
    const QString trimmed = FromCp1252(Trimmed(typed));
    if (trimmed == typed)
        return;
    m_bLoading = true;
    m_combination->setEditText(trimmed);
    m_bLoading = false;
    ApplyFieldsToLimit();
}

// A refused bound stays as typed, for the user to mend (the limit keeps its range meanwhile:
// ApplyFieldsToLimit).
bool CLimitFormulaEditView::NumberLeft(QLineEdit* edit, bool tell)
{
    const std::string text = Trimmed(edit->text());
    if (const std::string refusal = NumberTextRefusal(text, DBL_MAX); !refusal.empty())
        return !tell || m_refusals.RefuseField(edit, refusal);
    edit->setText(text.empty() ? QString() : FromCp1252(FormatLimitNumber(ParseDouble(text))));
    ApplyFieldsToLimit();
    if (m_nLimit >= 0 && m_nLimit < m_limits.GetCount())
        m_committedRange = m_limits.GetAt(m_nLimit).GetRange();
    return true;
}

bool CLimitFormulaEditView::BoundsTaken()
{
    for (QLineEdit* edit : {m_from, m_to}) {
        if (const std::string refusal = NumberTextRefusal(Trimmed(edit->text()), DBL_MAX); !refusal.empty())
            return m_refusals.RefuseField(edit, refusal);
    }
    return true;
}

bool CLimitFormulaEditView::CanSaveForm()
{
    return BoundsTaken();
}

void CLimitFormulaEditView::AppendNewLimit()
{
    if (!BoundsTaken())
        return;
    if (m_nLimit < 0) {
        m_limits.Add(CLimit());
        m_nLimit = m_limits.GetCount() - 1;
        FillLimitsList();
        ApplyFieldsToLimit();
        m_committedRange = m_limits.GetAt(m_nLimit).GetRange();
        SetModified(true);
    }
    SelectLimit(-1);
    m_combination->setFocus();
}

void CLimitFormulaEditView::DeleteLimit()
{
    if (m_nLimit < 0)
        return;
    // The fields go with the limit: what they hold, refused or not, is deleted with it.
    m_limits.RemoveAt(m_nLimit);
    m_nLimit = -1;
    FillLimitsList();
    SelectLimit(-1);
    SetModified(true);
}

void CLimitFormulaEditView::MoveLimitUp()
{
    if (m_nLimit <= 0 || m_nLimit >= m_limits.GetCount())
        return;
    std::swap(m_limits.GetAt(m_nLimit - 1), m_limits.GetAt(m_nLimit));
    --m_nLimit;
    FillLimitsList();
    SetModified(true);
    UpdateButtons(); // the moved limit's Up and Down
}

void CLimitFormulaEditView::MoveLimitDown()
{
    if (m_nLimit < 0 || m_nLimit >= m_limits.GetCount() - 1)
        return;
    std::swap(m_limits.GetAt(m_nLimit), m_limits.GetAt(m_nLimit + 1));
    ++m_nLimit;
    FillLimitsList();
    SetModified(true);
    UpdateButtons(); // the moved limit's Up and Down
}

void CLimitFormulaEditView::SortLimits()
{
    const int count = m_limits.GetCount();
    if (count < 2 || !BoundsTaken())
        return;
    const CLimitFormulaDB* database = Database();
    std::vector<std::pair<int, int>> keys; // (position of the combination, old index)
    for (int i = 0; i < count; ++i) {
        int position = database ? database->m_combinations.FindIndexByName(m_limits.GetAt(i).m_comboName) : -1;
        if (position < 0)
            position = std::numeric_limits<int>::max(); // unknown combinations follow, in their order
        keys.emplace_back(position, i);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    CLimitArray sorted;
    for (const auto& key : keys)
        sorted.Add(m_limits.GetAt(key.second));
    m_limits = std::move(sorted);
    m_nLimit = -1;
    FillLimitsList();
    SelectLimit(-1);
    SetModified(true);
}
