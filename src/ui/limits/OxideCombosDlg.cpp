#include "limits/OxideCombosDlg.h"

#include "elements/ElementRecord.h"
#include "elements/ElementTable.h"
#include "framework/Cp1252.h"
#include "framework/UpdateHint.h"
#include "limits/LimitFormulasDoc.h"
#include "limits/LimitNumberText.h"
#include "shell/OxidariumApp.h"
#include "support/DbFileType.h"
#include "support/FocusWatcher.h"
#include "support/NumberField.h"
#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cfloat>

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kItemRole = Qt::UserRole;
// Separator rows of the item lists carry no item.
constexpr int kNoItem = 0;

// The words of the totals, items 104 to 107.
constexpr const char* kTotalWords[] = {"LOI", "Alkalis", "Neutrals", "Acids"};

std::string ItemWord(int item)
{
    if (item >= COxideCombination::kItemLoi && item <= COxideCombination::kLastItem)
        return kTotalWords[item - COxideCombination::kItemLoi];
    if (item >= 1 && item < kElementCount)
        return GetElementTable()[item].symbol;
    return std::string();
}

// The items of one side joined with "+", in parentheses when there are two or more and wrap.
std::string JoinSide(const std::vector<int>& items, bool wrap)
{
    std::string side;
    int count = 0;
    for (int item : items) {
        const std::string word = ItemWord(item);
        if (word.empty())
            continue;
        side += (count++ ? "+" : "") + word;
    }
    return wrap && count >= 2 ? "(" + side + ")" : side;
}

void AddItemRow(QListWidget& list, const std::string& text, int item)
{
    auto* row = new QListWidgetItem(FromCp1252(text), &list);
    row->setData(kItemRole, item);
}

std::vector<int> TabStopUnits()
{
    std::vector<int> units;
    for (int stop = 50; stop <= 120; stop += 10)
        units.push_back(stop);
    return units;
}

} // namespace

std::string COxideCombosDlg::BuildFormula(const std::vector<int>& first, const std::vector<int>& second, bool ratio)
{
    const std::string right = JoinSide(second, true);
    const std::string left = JoinSide(first, !right.empty());
    if (right.empty())
        return left;
    return left + (ratio ? " / " : " - ") + right;
}

COxideCombosDlg::COxideCombosDlg(QWidget* parent) : CStyledDialog(parent, kOxideCombosHelpId), m_refusals(this)
{
    setWindowTitle(QStringLiteral("Oxides and Oxide Combinations"));
    backgroundColor = GetNamedColor("led_bkg");
    ResizeDlu(340, 226);
    CreateControls();
}

void COxideCombosDlg::CreateControls()
{
    m_comboList = new QListWidget(this);
    SetControlId(m_comboList, kCombosListId);
    m_comboList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_comboDelegate = new CTabStopDelegate(m_comboList);
    m_comboList->setItemDelegate(m_comboDelegate);
    PlaceDlu(m_comboList, 7, 7, 150, 186);
    auto* shift = new QLabel(QStringLiteral("Shift"), this);
    PlaceDlu(shift, 7, 198, 20, 9);
    m_upButton = AddButton(QStringLiteral("Up"), kCombosUpId, 7, 207, 30, 12);
    m_downButton = AddButton(QStringLiteral("Down"), kCombosDownId, 40, 207, 30, 12);
    auto* sort = new QLabel(QStringLiteral("Sort"), this);
    PlaceDlu(sort, 80, 198, 20, 9);
    m_sortRoleButton = AddButton(QStringLiteral("by Role"), kCombosSortRoleId, 80, 207, 36, 12);
    m_sortNameButton = AddButton(QStringLiteral("Alphabetical"), kCombosSortNameId, 119, 207, 46, 12);
    CreateCombinationControls();
    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 200, 207, 40, 14);
    QPushButton* cancel = AddButton(QStringLiteral("Cancel"), kIdCancel, 245, 207, 40, 14);
    AddHelpButton(313, 207, 20, 14);

    connect(m_okButton, &QPushButton::clicked, this, &COxideCombosDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &COxideCombosDlg::reject);
    connect(m_upButton, &QPushButton::clicked, this, &COxideCombosDlg::MoveUp);
    connect(m_downButton, &QPushButton::clicked, this, &COxideCombosDlg::MoveDown);
    connect(m_sortRoleButton, &QPushButton::clicked, this, [this] { SortCombinations(false); });
    connect(m_sortNameButton, &QPushButton::clicked, this, [this] { SortCombinations(true); });
    connect(m_comboList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_loading)
            return;
        const QList<QListWidgetItem*> chosen = m_comboList->selectedItems();
        const int row = chosen.isEmpty() ? -1 : m_comboList->row(chosen.front());
        // Another combination would fill the fields: a refused bound keeps them, and its
        // combination stays chosen.
        if (row != m_selected && !BoundsTaken()) {
            m_loading = true;
            if (m_selected >= 0)
                m_comboList->setCurrentRow(m_selected);
            else
                m_comboList->clearSelection();
            m_loading = false;
            return;
        }
        SelectCombination(row);
    });
}

void COxideCombosDlg::CreateCombinationControls()
{
    auto* group = new QGroupBox(QStringLiteral("Combination"), this);
    PlaceDlu(group, 165, 3, 168, 198);
    group->lower();
    auto* nameLabel = new QLabel(QStringLiteral("Name :"), this);
    PlaceDlu(nameLabel, 172, 16, 30, 9);
    m_nameEdit = new QLineEdit(this);
    SetControlId(m_nameEdit, kCombosNameId);
    PlaceDlu(m_nameEdit, 204, 14, 122, 12);
    m_sumRadio = new QRadioButton(QStringLiteral("Sum / Difference"), this);
    SetControlId(m_sumRadio, kCombosSumId);
    PlaceDlu(m_sumRadio, 172, 32, 80, 10);
    m_ratioRadio = new QRadioButton(QStringLiteral("Ratio"), this);
    SetControlId(m_ratioRadio, kCombosRatioId);
    PlaceDlu(m_ratioRadio, 260, 32, 60, 10);
    m_sumRadio->setChecked(true);
    for (int side = 0; side < 2; ++side) {
        m_itemLabels[side] = new QLabel(this);
        SetControlId(m_itemLabels[side], kCombosFirstLabelId + side);
        PlaceDlu(m_itemLabels[side], 172 + side * 80, 46, 74, 9);
        m_itemLists[side] = new QListWidget(this);
        SetControlId(m_itemLists[side], kCombosFirstListId + side);
        m_itemLists[side]->setSelectionMode(QAbstractItemView::MultiSelection);
        PlaceDlu(m_itemLists[side], 172 + side * 80, 56, 74, 100);
        connect(m_itemLists[side], &QListWidget::itemSelectionChanged, this, [this] {
            if (!m_loading)
                RebuildFromControls();
        });
    }
    SetLabels(false);
    auto* from = new QLabel(QStringLiteral("Plot from :"), this);
    PlaceDlu(from, 172, 164, 40, 9);
    m_plotMin = new QLineEdit(this);
    SetControlId(m_plotMin, kCombosPlotMinId);
    PlaceDlu(m_plotMin, 214, 162, 40, 12);
    auto* to = new QLabel(QStringLiteral("to :"), this);
    PlaceDlu(to, 260, 164, 16, 9);
    m_plotMax = new QLineEdit(this);
    SetControlId(m_plotMax, kCombosPlotMaxId);
    PlaceDlu(m_plotMax, 278, 162, 40, 12);
    QPushButton* append = AddButton(QStringLiteral("Append New Combo"), kCombosAppendId, 172, 181, 74, 14);
    QPushButton* remove = AddButton(QStringLiteral("Delete Combo"), kCombosDeleteId, 252, 181, 74, 14);

    connect(append, &QPushButton::clicked, this, &COxideCombosDlg::AppendNewCombo);
    connect(remove, &QPushButton::clicked, this, &COxideCombosDlg::DeleteCombo);
    for (QLineEdit* edit : {m_nameEdit, m_plotMin, m_plotMax}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { RebuildFromControls(); });
        edit->installEventFilter(this);
    }
    for (QRadioButton* radio : {m_sumRadio, m_ratioRadio}) {
        connect(radio, &QRadioButton::clicked, this, [this] {
            SetLabels(m_ratioRadio->isChecked());
            RebuildFromControls();
        });
    }
}

void COxideCombosDlg::OnInitDialog()
{
    FillItemLists();
    FillCombinationList();
    SelectCombination(-1);
}

bool COxideCombosDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && IsFieldFocusChange(static_cast<QFocusEvent*>(event)->reason())) {
        if (watched == m_nameEdit)
            NameLeft();
        else if (watched == m_plotMin || watched == m_plotMax)
            PlotLeft(static_cast<QLineEdit*>(watched));
        if (TookFocusBack(watched))
            return true;
    }
    return CStyledDialog::eventFilter(watched, event);
}

void COxideCombosDlg::FillItemLists()
{
    if (m_itemsFilled)
        return;
    m_itemsFilled = true;
    const CElementRecord* table = GetElementTable();
    static constexpr std::int32_t kGroups[] = {kRoleAlkali, kRoleNeutral, kRoleAcid};
    for (QListWidget* list : m_itemLists) {
        list->clear();
        for (std::int32_t group : kGroups) {
            for (int priority = 1; priority <= 3; ++priority) {
                for (int z = 1; z < kElementCount; ++z) {
                    if ((table[z].role & group) && table[z].priority == priority)
                        AddItemRow(*list, table[z].oxide, z);
                }
            }
            AddItemRow(*list, "---", kNoItem);
        }
        for (int item = COxideCombination::kItemLoi; item <= COxideCombination::kLastItem; ++item)
            AddItemRow(*list, ItemWord(item), item);
    }
}

std::string COxideCombosDlg::RowText(int index) const
{
    const COxideCombination& combination = combinations.GetAt(index);
    return " " + combination.m_name + "\t" + combination.GetFormula();
}

void COxideCombosDlg::FillCombinationList()
{
    m_loading = true;
    m_comboDelegate->SetTabStops(TabStopsFromDlu(m_comboList->font(), TabStopUnits()));
    m_comboList->clear();
    for (int i = 0; i < combinations.GetCount(); ++i)
        m_comboList->addItem(FromCp1252(RowText(i)));
    m_loading = false;
}

void COxideCombosDlg::SetLabels(bool ratio)
{
    m_itemLabels[0]->setText(ratio ? QStringLiteral("Numerator :") : QStringLiteral("Add :"));
    m_itemLabels[1]->setText(ratio ? QStringLiteral("Denominator :") : QStringLiteral("Subtract :"));
}

void COxideCombosDlg::SelectCombination(int index)
{
    m_loading = true;
    m_selected = index >= 0 && index < combinations.GetCount() ? index : -1;
    if (m_selected < 0) {
        m_comboList->clearSelection();
        m_nameEdit->clear();
        m_plotMin->clear();
        m_plotMax->clear();
        m_sumRadio->setChecked(true);
        SetLabels(false);
        for (QListWidget* list : m_itemLists)
            list->clearSelection();
    } else {
        m_comboList->setCurrentRow(m_selected);
        const COxideCombination& combination = combinations.GetAt(m_selected);
        combination.Parse();
        m_nameEdit->setText(FromCp1252(combination.m_name));
        m_plotMin->setText(FromCp1252(FormatLimitNumber(combination.m_plotMin)));
        m_plotMax->setText(FromCp1252(FormatLimitNumber(combination.m_plotMax)));
        m_committedMin = combination.m_plotMin;
        m_committedMax = combination.m_plotMax;
        const bool ratio = combination.GetKind() == COxideCombination::kRatio;
        (ratio ? m_ratioRadio : m_sumRadio)->setChecked(true);
        SetLabels(ratio);
        const COxideCombination::ItemSet* sets[] = {&combination.GetSetA(), &combination.GetSetB()};
        for (int side = 0; side < 2; ++side) {
            QListWidget* list = m_itemLists[side];
            for (int row = 0; row < list->count(); ++row) {
                const int item = list->item(row)->data(kItemRole).toInt();
                list->item(row)->setSelected(item != kNoItem && COxideCombination::HasItem(*sets[side], item));
            }
        }
    }
    m_loading = false;
    UpdateButtons();
}

std::vector<int> COxideCombosDlg::PickedItems(const QListWidget& list) const
{
    std::vector<int> items;
    for (int row = 0; row < list.count(); ++row) {
        const QListWidgetItem* entry = list.item(row);
        const int item = entry->data(kItemRole).toInt();
        if (entry->isSelected() && item != kNoItem)
            items.push_back(item);
    }
    return items;
}

void COxideCombosDlg::RebuildFromControls()
{
    if (m_selected < 0)
        return;
    COxideCombination& combination = combinations.GetAt(m_selected);
    combination.m_name = ToCp1252(m_nameEdit->text());
    combination.SetFormula(BuildFormula(PickedItems(*m_itemLists[0]), PickedItems(*m_itemLists[1]),
                                        m_ratioRadio->isChecked()));
    // A bound that is no number is not taken (leaving its field or OK refuses it).
    for (auto [edit, bound] : {std::pair{m_plotMin, &combination.m_plotMin}, std::pair{m_plotMax, &combination.m_plotMax}}) {
        const std::string text = ToCp1252(edit->text());
        if (NumberTextRefusal(text, DBL_MAX).empty())
            *bound = ParseDouble(text);
    }
    m_loading = true;
    m_comboList->item(m_selected)->setText(FromCp1252(RowText(m_selected)));
    m_comboList->setCurrentRow(m_selected);
    m_loading = false;
}

void COxideCombosDlg::PickItems(int list, const std::vector<int>& items)
{
    QListWidget* target = m_itemLists[list == 0 ? 0 : 1];
    m_loading = true;
    for (int row = 0; row < target->count(); ++row) {
        const int item = target->item(row)->data(kItemRole).toInt();
        target->item(row)->setSelected(std::find(items.begin(), items.end(), item) != items.end());
    }
    m_loading = false;
    RebuildFromControls();
}

void COxideCombosDlg::NameLeft()
{
    std::string name = ToCp1252(m_nameEdit->text());
    const std::string typed = name;
    TrimString(name);
    if (name == typed)
        return;
    m_nameEdit->setText(FromCp1252(name));
    RebuildFromControls();
}

// A refused bound stays as typed, for the user to mend; the combination keeps the bound it had
// before its field was typed into ("1" of "1,5" stood in it on the way).
void COxideCombosDlg::PlotLeft(QLineEdit* edit)
{
    std::string text = ToCp1252(edit->text());
    TrimString(text);
    if (text.empty())
        return;
    if (const std::string refusal = NumberTextRefusal(text, DBL_MAX); !refusal.empty()) {
        if (m_selected >= 0) {
            COxideCombination& combination = combinations.GetAt(m_selected);
            (edit == m_plotMin ? combination.m_plotMin : combination.m_plotMax) =
                edit == m_plotMin ? m_committedMin : m_committedMax;
        }
        m_refusals.RefuseField(edit, refusal);
        return;
    }
    edit->setText(FromCp1252(FormatLimitNumber(ParseDouble(text))));
    RebuildFromControls();
    if (m_selected >= 0)
        (edit == m_plotMin ? m_committedMin : m_committedMax) = ParseDouble(text);
}

bool COxideCombosDlg::BoundsTaken()
{
    for (QLineEdit* edit : {m_plotMin, m_plotMax}) {
        std::string text = ToCp1252(edit->text());
        if (const std::string refusal = NumberTextRefusal(TrimString(text), DBL_MAX); !refusal.empty())
            return m_refusals.RefuseField(edit, refusal);
    }
    return true;
}

void COxideCombosDlg::accept()
{
    if (BoundsTaken())
        CStyledDialog::accept();
}

void COxideCombosDlg::AppendNewCombo()
{
    if (!BoundsTaken())
        return;
    if (m_selected < 0) {
        combinations.Add(COxideCombination("", "", 0.0, 1.0));
        m_selected = combinations.GetCount() - 1;
        m_loading = true;
        m_comboList->addItem(FromCp1252(RowText(m_selected)));
        m_loading = false;
        RebuildFromControls();
    }
    SelectCombination(-1);
    m_nameEdit->setFocus();
}

void COxideCombosDlg::DeleteCombo()
{
    if (m_selected < 0)
        return;
    combinations.RemoveAt(m_selected);
    m_loading = true;
    delete m_comboList->takeItem(m_selected);
    m_loading = false;
    SelectCombination(-1);
}

void COxideCombosDlg::MoveUp()
{
    if (m_selected <= 0 || !BoundsTaken())
        return;
    combinations.SwapItems(m_selected - 1, m_selected);
    FillCombinationList();
    SelectCombination(m_selected - 1);
}

void COxideCombosDlg::MoveDown()
{
    if (m_selected < 0 || m_selected >= combinations.GetCount() - 1 || !BoundsTaken())
        return;
    combinations.SwapItems(m_selected, m_selected + 1);
    FillCombinationList();
    SelectCombination(m_selected + 1);
}

// An exchange sort of neighbours keeps equal entries in their order.
void COxideCombosDlg::SortCombinations(bool byName)
{
    if (!BoundsTaken())
        return;
    for (int end = combinations.GetCount() - 1; end > 0; --end) {
        bool swapped = false;
        for (int i = 0; i < end; ++i) {
            if (combinations.Compare(i, i + 1, byName) > 0) {
                combinations.SwapItems(i, i + 1);
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
    FillCombinationList();
    SelectCombination(-1);
}

void COxideCombosDlg::UpdateButtons()
{
    const int count = combinations.GetCount();
    m_upButton->setEnabled(m_selected > 0);
    m_downButton->setEnabled(m_selected >= 0 && m_selected < count - 1);
    m_sortRoleButton->setEnabled(count >= 2);
    m_sortNameButton->setEnabled(count >= 2);
}

// --- the document's side --------------------------------------------------------------------------

void ApplyOxideCombinations(CLimitFormulasDoc& document, COxideCombinationArray combinations, CView* sender)
{
    for (int i = combinations.GetCount() - 1; i >= 0; --i) {
        if (combinations.GetAt(i).m_name.empty())
            combinations.RemoveAt(i);
    }
    document.Database().m_combinations = std::move(combinations);
    document.SetModifiedFlag();
    COxidariumApp::BroadcastUpdate(sender, &document, static_cast<int>(DbFileType::LimitFormulas),
                                   HintOxideCombinationsChanged, 0, 0);
}

bool EditOxideCombinations(QWidget* parent, CLimitFormulasDoc& document, CView* sender)
{
    COxideCombosDlg dialog(parent);
    dialog.combinations = document.Database().m_combinations;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ApplyOxideCombinations(document, std::move(dialog.combinations), sender);
    return true;
}
