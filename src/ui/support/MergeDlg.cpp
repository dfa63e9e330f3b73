#include "support/MergeDlg.h"

#include "framework/Cp1252.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kPromptId = 2400;
constexpr int kListId = 2004;
constexpr int kSelectAllId = 2405;
constexpr int kDeselectAllId = 2403;
constexpr int kSelectExistingId = 2406;
constexpr int kSelectNewId = 2407;
constexpr int kAppendAllId = 2401;
constexpr int kReplaceExistingId = 2402;
constexpr int kSortId = 2408;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// "Merge %s from %s" and the like, with each %s taken in turn from the arguments.
QString FormatPercentS(const char* format, std::initializer_list<std::string> values)
{
    std::string text = format;
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return FromCp1252(text);
}

} // namespace

CMergeDlg::CMergeDlg(QWidget* parent, unsigned help) : CStyledDialog(parent, help)
{
    CreateControls();
}

void CMergeDlg::CreateControls()
{
    ResizeDlu(302, 204);
    m_prompt = new QLabel(this);
    SetControlId(m_prompt, kPromptId);
    m_prompt->setTextFormat(Qt::PlainText);
    PlaceDlu(m_prompt, 7, 7, 200, 8);
    m_list = new QListWidget(this);
    SetControlId(m_list, kListId);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_delegate = new CTabStopDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    PlaceDlu(m_list, 7, 18, 200, 112);

    m_selectAll = AddButton(QStringLiteral("Select All"), kSelectAllId, 214, 18, 81, 14);
    m_deselectAll = AddButton(QStringLiteral("Deselect All"), kDeselectAllId, 214, 36, 81, 14);
    m_selectExisting = AddButton(QStringLiteral("Select Existing"), kSelectExistingId, 214, 54, 81, 14);
    m_selectNew = AddButton(QStringLiteral("Select New"), kSelectNewId, 214, 72, 81, 14);
    connect(m_selectAll, &QPushButton::clicked, m_list, &QListWidget::selectAll);
    connect(m_deselectAll, &QPushButton::clicked, m_list, &QListWidget::clearSelection);
    connect(m_selectExisting, &QPushButton::clicked, this, [this] { SelectByFlag(1); });
    connect(m_selectNew, &QPushButton::clicked, this, [this] { SelectByFlag(0); });

    PlaceDlu(new QLabel(QStringLiteral("Merge method :"), this), 7, 136, 80, 8);
    m_appendAll = new QRadioButton(QStringLiteral("Append all (no replacement)"), this);
    SetControlId(m_appendAll, kAppendAllId);
    PlaceDlu(m_appendAll, 7, 147, 150, 10);
    m_replaceExisting = new QRadioButton(QStringLiteral("Append new, replace existing"), this);
    SetControlId(m_replaceExisting, kReplaceExistingId);
    PlaceDlu(m_replaceExisting, 7, 159, 150, 10);
    auto* methods = new QButtonGroup(this);
    methods->addButton(m_appendAll, 0);
    methods->addButton(m_replaceExisting, 1);
    m_sort = new QCheckBox(QStringLiteral("Sort after merge"), this);
    SetControlId(m_sort, kSortId);
    PlaceDlu(m_sort, 170, 147, 100, 10);

    m_okButton = AddButton(QStringLiteral("OK"), kIdOk, 7, 182, 50, 14);
    m_cancelButton = AddButton(QStringLiteral("Cancel"), kIdCancel, 188, 182, 50, 14);
    m_helpButton = AddHelpButton(275, 182, 20, 14);
    connect(m_okButton, &QPushButton::clicked, this, &CMergeDlg::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CMergeDlg::reject);
    setFixedSize(size());
}

void CMergeDlg::OnInitDialog()
{
    setWindowTitle(FormatPercentS("Merge %s from %s", {kindWord, sourceName}));
    m_prompt->setText(FormatPercentS("Select %s :", {kindWord}));
    m_sort->setVisible(showSortOption != 0);
    (method == 1 ? m_replaceExisting : m_appendAll)->setChecked(true);
    m_sort->setChecked(sortAfterMerge != 0);
    Fill();
}

void CMergeDlg::Fill()
{
    m_list->clear();
    m_delegate->SetTabStops(TabStopsFromDlu(m_list->font(), {15, 25, 35, 45}));
    m_entryFlags.assign(names.size(), 0);
    for (std::size_t i = 0; i < names.size() && i < flags.size(); ++i)
        m_entryFlags[i] = flags[i];
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string mark = m_entryFlags[i] == 1 ? "*" : "";
        auto* item = new QListWidgetItem(FromCp1252(mark + "\t" + names[i]), m_list);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    rowCount = m_list->count();
    // The caret starts on the first row without selecting it.
    if (rowCount > 0)
        m_list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

int CMergeDlg::EntryFlag(int row) const
{
    return row >= 0 && row < static_cast<int>(m_entryFlags.size()) ? m_entryFlags[static_cast<std::size_t>(row)] : 0;
}

void CMergeDlg::SelectByFlag(int flag)
{
    for (int row = 0; row < m_list->count(); ++row)
        m_list->item(row)->setSelected(EntryFlag(row) == flag);
}

void CMergeDlg::accept()
{
    InitDialog();
    method = m_replaceExisting->isChecked() ? 1 : 0;
    sortAfterMerge = m_sort->isChecked() ? 1 : 0;
    flags.assign(names.size(), 0);
    for (int row = 0; row < m_list->count() && row < static_cast<int>(flags.size()); ++row) {
        if (m_list->item(row)->isSelected())
            flags[static_cast<std::size_t>(row)] = 1;
    }
    CStyledDialog::accept();
}
