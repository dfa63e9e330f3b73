// The editor's Data Sources page: the list of the working data sources and the controls of the
// current one (name, databases, glazes, colour, symbol, pattern), and the Graph page's choice of
// glaze database and glaze for the preview.

#include "graphs/GraphTypeEditView.h"

#include "framework/Cp1252.h"
#include "glazes/Glaze.h"
#include "glazes/GlazesDoc.h"
#include "graphs/GraphSettingsDlg.h"
#include "graphs/GraphTypeTable.h"
#include "graphs/StylePicker.h"
#include "support/CompareNoCase.h"
#include "support/TextHelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

// Entries for names that no open database or glaze answers carry this prefix and no document.
constexpr const char* kUnknownPrefix = "(?) ";

QVariant PointerData(const void* pointer)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(pointer));
}

template <class T>
T* ItemPointer(const QListWidgetItem* item)
{
    return item ? reinterpret_cast<T*>(item->data(Qt::UserRole).value<quintptr>()) : nullptr;
}

// The name an entry stands for: its text, without the prefix of an unknown name.
std::string EntryName(const QListWidgetItem* item)
{
    std::string text = ToCp1252(item->text());
    if (!ItemPointer<void>(item) && text.rfind(kUnknownPrefix, 0) == 0)
        text.erase(0, 4);
    return text;
}

bool ContainsNoCase(const CStringArrayEx& names, const std::string& name)
{
    return std::any_of(names.begin(), names.end(), [&name](const std::string& each) { return EqualsNoCase(each, name); });
}

} // namespace

void CGraphTypeEditView::ConnectDataPages()
{
    const auto onClick = [this](int id, auto handler) { connect(Ctl<QPushButton>(id), &QPushButton::clicked, this, handler); };
    connect(Ctl<QListWidget>(kGeDsList), &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_bLoading)
            SelectDataSource(row);
    });
    onClick(kGeDsAdd, [this] { AddDataSource(); });
    onClick(kGeDsDelete, [this] { DeleteDataSource(); });
    onClick(kGeDsUp, [this] { MoveDataSource(-1); });
    onClick(kGeDsDown, [this] { MoveDataSource(1); });
    onClick(kGeDsSetName, [this] { SetDataSourceName(); });
    onClick(kGeDsCheckAll, [this] { CheckAllGlazes(true); });
    onClick(kGeDsClearAll, [this] { CheckAllGlazes(false); });
    onClick(kGeDsGetSelected, [this] { CheckSelectedGlazes(); });
    connect(Ctl<QLineEdit>(kGeDsName), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (QListWidgetItem* item = Ctl<QListWidget>(kGeDsList)->item(m_currentDataSource))
            item->setText(text);
        DataSourceChanged();
    });
    connect(m_radioGroups.at(kGeDsCurrentDb), &QButtonGroup::idClicked, this, [this](int value) { ChooseDatabaseRadio(value); });
    connect(Ctl<QListWidget>(kGeDsDatabases), &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ChooseDatabaseRow(Ctl<QListWidget>(kGeDsDatabases)->row(item)); });
    connect(m_radioGroups.at(kGeDsCurrentGlaze), &QButtonGroup::idClicked, this, [this](int value) { ChooseGlazeRadio(value); });
    connect(Ctl<QListWidget>(kGeDsGlazes), &QListWidget::itemChanged, this, [this] {
        if (m_bLoading)
            return;
        SetRadioValue(kGeDsCurrentGlaze, kDataSourceNamedGlazes);
        DataSourceChanged();
    });
    connect(m_radioGroups.at(kGeDsFirstColorSet), &QButtonGroup::idClicked, this, [this](int set) { ChooseDsColorSet(set); });
    for (int c = 0; c < kGraphColorSetSize; ++c)
        connect(Ctl<QAbstractButton>(kGeDsFirstColor + c), &QAbstractButton::clicked, this, [this, c] { ChooseDsColor(c); });
    for (int k = 0; k < kGraphSymbolCount; ++k)
        connect(Ctl<QAbstractButton>(kGeDsFirstSymbol + k), &QAbstractButton::clicked, this, [this, k] { ChooseDsSymbol(k); });
    for (int p = 0; p < kGraphPatternCount; ++p)
        connect(Ctl<QAbstractButton>(kGeDsFirstPattern + p), &QAbstractButton::clicked, this, [this, p] { ChooseDsPattern(p); });
    connect(Ctl<QCheckBox>(kGeDsUsePattern), &QCheckBox::clicked, this, [this](bool on) { SetDsUsePattern(on); });

    connect(Ctl<QComboBox>(kGeGraphDatabase), &QComboBox::activated, this, [this] {
        FillGraphGlazeCombo(0);
        InvalidatePreview();
    });
    connect(Ctl<QComboBox>(kGeGraphGlaze), &QComboBox::activated, this, [this] { InvalidatePreview(); });
    onClick(kGeRedraw, [this] { InvalidatePreview(); });
}

// --- the list -------------------------------------------------------------------------------------

void CGraphTypeEditView::FillDataSourceList()
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    QListWidget* list = Ctl<QListWidget>(kGeDsList);
    list->clear();
    for (const auto& source : m_dataSources)
        list->addItem(FromCp1252(source->m_name));
    list->setCurrentRow(m_currentDataSource);
    m_bLoading = loading;
}

void CGraphTypeEditView::SelectDataSource(int index)
{
    if (m_bDataSourceModified)
        StoreCurrentDataSource();
    m_currentDataSource = index >= 0 && index < static_cast<int>(m_dataSources.size()) ? index : -1;
    const bool loading = m_bLoading;
    m_bLoading = true;
    QListWidget* list = Ctl<QListWidget>(kGeDsList);
    list->setCurrentRow(m_currentDataSource);
    if (m_currentDataSource < 0)
        list->clearSelection();
    m_bLoading = loading;
    LoadDataSourceControls();
    m_bDataSourceModified = false;
}

void CGraphTypeEditView::StoreCurrentDataSource()
{
    if (m_currentDataSource < 0 || m_currentDataSource >= static_cast<int>(m_dataSources.size()))
        return;
    ReadDataSourceControls(m_dataSource);
    m_dataSources.SetAt(m_currentDataSource, m_dataSource);
    m_bDataSourceModified = false;
}

void CGraphTypeEditView::DataSourceChanged()
{
    if (m_bLoading)
        return;
    if (m_currentDataSource >= 0)
        m_bDataSourceModified = true;
    MarkModified();
}

void CGraphTypeEditView::AddDataSource()
{
    if (m_bDataSourceModified)
        StoreCurrentDataSource();
    const int position = m_currentDataSource >= 0 ? m_currentDataSource + 1 : static_cast<int>(m_dataSources.size());
    m_dataSources.InsertAt(position, CGraphDataSource("new data source"));
    m_currentDataSource = position;
    FillDataSourceList();
    m_bDataSourceModified = false;
    m_currentDataSource = -1;
    SelectDataSource(position);
    QLineEdit* name = Ctl<QLineEdit>(kGeDsName);
    name->setFocus();
    name->selectAll();
    MarkModified();
}

void CGraphTypeEditView::DeleteDataSource()
{
    const int index = m_currentDataSource;
    if (index < 0 || index >= static_cast<int>(m_dataSources.size()))
        return;
    m_dataSources.RemoveAt(index);
    m_bDataSourceModified = false;
    m_currentDataSource = -1;
    FillDataSourceList();
    SelectDataSource(index < static_cast<int>(m_dataSources.size()) ? index : -1);
    MarkModified();
}

void CGraphTypeEditView::MoveDataSource(int direction)
{
    const int index = m_currentDataSource;
    const int other = index + direction;
    if (index < 0 || other < 0 || other >= static_cast<int>(m_dataSources.size()))
        return;
    if (m_bDataSourceModified)
        StoreCurrentDataSource();
    m_dataSources.SwapItems(index, other);
    m_currentDataSource = other;
    FillDataSourceList();
    MarkModified();
}

// --- the current data source ----------------------------------------------------------------------

void CGraphTypeEditView::LoadDataSourceControls()
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    if (m_currentDataSource >= 0)
        m_dataSource = m_dataSources.GetAt(m_currentDataSource);
    else
        m_dataSource = CGraphDataSource("new data source");
    SetText(kGeDsName, m_currentDataSource >= 0 ? m_dataSource.m_name : std::string());
    SetRadioValue(kGeDsCurrentDb, m_currentDataSource >= 0 ? m_dataSource.dsdb : -1);
    FillDatabaseList(m_dataSource.dsdbname);
    SetRadioValue(kGeDsCurrentGlaze, m_currentDataSource >= 0 ? m_dataSource.dsglz : -1);
    FillGlazeCheckList(m_dataSource.dsgname);
    ShowDsPickers();
    m_bLoading = loading;
}

void CGraphTypeEditView::ReadDataSourceControls(CGraphDataSource& source) const
{
    std::string name = Text(kGeDsName);
    source.m_name = TrimString(name);
    source.dsdb = std::max(RadioValue(kGeDsCurrentDb), 0);
    source.dsdbname.clear();
    const QListWidget* databases = Ctl<QListWidget>(kGeDsDatabases);
    if (source.dsdb == kDataSourceNamedDatabase && databases->currentItem() && databases->currentItem()->isSelected())
        source.dsdbname = EntryName(databases->currentItem());
    source.dsglz = std::max(RadioValue(kGeDsCurrentGlaze), 0);
    source.dsgname.clear();
    const QListWidget* glazes = Ctl<QListWidget>(kGeDsGlazes);
    for (int row = 0; source.dsglz == kDataSourceNamedGlazes && row < glazes->count(); ++row) {
        if (glazes->item(row)->checkState() == Qt::Checked)
            source.dsgname.push_back(EntryName(glazes->item(row)));
    }
    source.dscol = m_dataSource.dscol;
    source.dssym = m_dataSource.dssym;
    source.dspat = m_dataSource.dspat;
    source.dscp = Checked(kGeDsUsePattern) ? 1 : 0;
}

CGlazesDoc* CGraphTypeEditView::SelectedListDatabase() const
{
    const QListWidget* databases = Ctl<QListWidget>(kGeDsDatabases);
    const QListWidgetItem* item = databases->currentItem();
    return item && item->isSelected() ? ItemPointer<CGlazesDoc>(item) : nullptr;
}

void CGraphTypeEditView::FillDatabaseList(const std::string& selectName)
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    QListWidget* list = Ctl<QListWidget>(kGeDsDatabases);
    list->clear();
    int selected = -1;
    for (CGlazesDoc* database : GetOpenGlazeDatabases()) {
        auto* item = new QListWidgetItem(FromCp1252(database->GetDbName()), list);
        item->setData(Qt::UserRole, PointerData(database));
        if (selected < 0 && !selectName.empty() && EqualsNoCase(database->GetDbName(), selectName))
            selected = list->row(item);
    }
    // A database that is not open keeps its name, marked.
    if (selected < 0 && !selectName.empty()) {
        auto* item = new QListWidgetItem(FromCp1252(kUnknownPrefix + selectName), list);
        item->setData(Qt::UserRole, PointerData(nullptr));
        selected = list->row(item);
    }
    list->setCurrentRow(selected);
    if (selected < 0)
        list->clearSelection();
    m_bLoading = loading;
}

void CGraphTypeEditView::FillGlazeCheckList(const CStringArrayEx& checkedNames)
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    QListWidget* list = Ctl<QListWidget>(kGeDsGlazes);
    list->clear();
    CStringArrayEx found;
    if (CGlazesDoc* database = SelectedListDatabase()) {
        std::vector<CGlaze*> glazes;
        database->GetSelectedGlazes(glazes, true);
        for (CGlaze* glaze : glazes) {
            auto* item = new QListWidgetItem(FromCp1252(glaze->m_name), list);
            item->setData(Qt::UserRole, PointerData(glaze));
            const bool checked = ContainsNoCase(checkedNames, glaze->m_name);
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
            if (checked)
                found.push_back(glaze->m_name);
        }
    }
    for (const std::string& name : checkedNames) {
        if (ContainsNoCase(found, name))
            continue;
        auto* item = new QListWidgetItem(FromCp1252(kUnknownPrefix + name), list);
        item->setData(Qt::UserRole, PointerData(nullptr));
        item->setCheckState(Qt::Checked);
    }
    m_bLoading = loading;
}

void CGraphTypeEditView::ChooseDatabaseRadio(int value)
{
    const int previous = m_dataSource.dsdb;
    m_dataSource.dsdb = value;
    const bool loading = m_bLoading;
    m_bLoading = true;
    if (previous == kDataSourceNamedDatabase && value != kDataSourceNamedDatabase) {
        Ctl<QListWidget>(kGeDsDatabases)->setCurrentRow(-1);
        Ctl<QListWidget>(kGeDsDatabases)->clearSelection();
        if (RadioValue(kGeDsCurrentGlaze) == kDataSourceNamedGlazes)
            SetRadioValue(kGeDsCurrentGlaze, kDataSourceAllGlazes);
        FillGlazeCheckList(CStringArrayEx());
    } else if (previous != kDataSourceNamedDatabase && value == kDataSourceNamedDatabase) {
        const GraphTypeInfo* info = GetGraphTypeInfo(m_template.type);
        if (info && info->one)
            SetRadioValue(kGeDsCurrentGlaze, kDataSourceNamedGlazes);
    }
    m_bLoading = loading;
    DataSourceChanged();
}

void CGraphTypeEditView::ChooseDatabaseRow(int row)
{
    const bool loading = m_bLoading;
    m_bLoading = true;
    Ctl<QListWidget>(kGeDsDatabases)->setCurrentRow(row);
    SetRadioValue(kGeDsCurrentDb, kDataSourceNamedDatabase);
    m_dataSource.dsdb = kDataSourceNamedDatabase;
    FillGlazeCheckList(CStringArrayEx());
    m_bLoading = loading;
    DataSourceChanged();
}

void CGraphTypeEditView::ChooseGlazeRadio(int value)
{
    m_dataSource.dsglz = value;
    DataSourceChanged();
}

void CGraphTypeEditView::CheckAllGlazes(bool check)
{
    QListWidget* list = Ctl<QListWidget>(kGeDsGlazes);
    const bool loading = m_bLoading;
    m_bLoading = true;
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(check ? Qt::Checked : Qt::Unchecked);
    m_bLoading = loading;
    DataSourceChanged();
}

void CGraphTypeEditView::CheckSelectedGlazes()
{
    CGlazesDoc* database = SelectedListDatabase();
    if (!database)
        return;
    std::vector<CGlaze*> selected;
    database->GetSelectedGlazes(selected, false);
    QListWidget* list = Ctl<QListWidget>(kGeDsGlazes);
    const bool loading = m_bLoading;
    m_bLoading = true;
    for (int row = 0; row < list->count(); ++row) {
        auto* glaze = ItemPointer<CGlaze>(list->item(row));
        const bool chosen = glaze && std::find(selected.begin(), selected.end(), glaze) != selected.end();
        list->item(row)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    }
    m_bLoading = loading;
    DataSourceChanged();
}

void CGraphTypeEditView::SetDataSourceName()
{
    const int dsdb = RadioValue(kGeDsCurrentDb);
    const int dsglz = RadioValue(kGeDsCurrentGlaze);
    std::string name;
    if (dsdb == kDataSourceCurrentDatabase) {
        if (dsglz == kDataSourceCurrentGlaze)
            name = "[current glaze]";
        else if (dsglz == kDataSourceSelectedGlazes)
            name = "[current database] - Selected glazes";
        else if (dsglz == kDataSourceAllGlazes)
            name = "[current database]";
    } else if (dsdb == kDataSourceAllDatabases) {
        if (dsglz == kDataSourceSelectedGlazes)
            name = "All databases - Selected glazes";
        else if (dsglz == kDataSourceAllGlazes)
            name = "All databases - All glazes";
    } else if (dsdb == kDataSourceNamedDatabase) {
        const QListWidgetItem* item = Ctl<QListWidget>(kGeDsDatabases)->currentItem();
        const std::string base = item && item->isSelected() ? EntryName(item) : std::string();
        CGraphDataSource source;
        ReadDataSourceControls(source);
        if (dsglz == kDataSourceSelectedGlazes)
            name = base + " - Selected glazes";
        else if (dsglz == kDataSourceNamedGlazes)
            name = source.dsgname.size() == 1 ? source.dsgname.front() : base + " - Specific glazes";
        else if (dsglz == kDataSourceAllGlazes)
            name = base;
    }
    SetText(kGeDsName, name);
    if (QListWidgetItem* item = Ctl<QListWidget>(kGeDsList)->item(m_currentDataSource))
        item->setText(FromCp1252(name));
    DataSourceChanged();
}

// --- colour, symbol and pattern -------------------------------------------------------------------

void CGraphTypeEditView::ChooseDsColorSet(int set)
{
    m_dataSource.dscol = m_dataSource.dscol % kGraphColorSetSize + kGraphColorSetSize * set;
    ShowDsPickers();
    DataSourceChanged();
}

void CGraphTypeEditView::ChooseDsColor(int color)
{
    m_dataSource.dscol = kGraphColorSetSize * (m_dataSource.dscol / kGraphColorSetSize) + color;
    ShowDsPickers();
    DataSourceChanged();
}

void CGraphTypeEditView::ChooseDsSymbol(int symbol)
{
    m_dataSource.dssym = symbol;
    ShowDsPickers();
    DataSourceChanged();
}

void CGraphTypeEditView::ChooseDsPattern(int pattern)
{
    m_dataSource.dspat = pattern;
    ShowDsPickers();
    DataSourceChanged();
}

void CGraphTypeEditView::SetDsUsePattern(bool on)
{
    m_dataSource.dscp = on ? 1 : 0;
    ShowDsPickers();
    DataSourceChanged();
}

void CGraphTypeEditView::ShowDsPickers()
{
    const int color = std::clamp(m_dataSource.dscol, 0, kGraphPaletteSize - 1);
    const int set = color / kGraphColorSetSize;
    SetRadioValue(kGeDsFirstColorSet, set);
    for (int c = 0; c < kGraphColorSetSize; ++c) {
        auto* swatch = Ctl<CColorSwatchButton>(kGeDsFirstColor + c);
        swatch->SetColorIndex(set * kGraphColorSetSize + c);
        swatch->SetColor(set * kGraphColorSetSize + c == m_dataSource.dscol);
    }
    for (int k = 0; k < kGraphSymbolCount; ++k) {
        auto* symbol = Ctl<CLineStyleButton>(kGeDsFirstSymbol + k);
        symbol->SetColorIndex(color);
        symbol->Paint(k == m_dataSource.dssym);
    }
    for (int p = 0; p < kGraphPatternCount; ++p) {
        auto* pattern = Ctl<CMarkerButton>(kGeDsFirstPattern + p);
        pattern->SetColorIndex(m_dataSource.dscp ? color : 0);
        pattern->Paint(p == m_dataSource.dspat);
    }
    SetChecked(kGeDsUsePattern, m_dataSource.dscp != 0);
}

// --- glaze lists ----------------------------------------------------------------------------------

void CGraphTypeEditView::RefreshGlazeLists()
{
    StoreCurrentDataSource();
    FillDatabaseList(m_dataSource.dsdbname);
    FillGlazeCheckList(m_dataSource.dsgname);
    FillGraphDatabaseCombo();
}

void CGraphTypeEditView::FillGraphDatabaseCombo()
{
    QComboBox* combo = Ctl<QComboBox>(kGeGraphDatabase);
    const auto* previous = combo->currentIndex() >= 0
                               ? reinterpret_cast<const CGlazesDoc*>(combo->currentData().value<quintptr>())
                               : nullptr;
    const bool first = combo->count() == 0;
    QComboBox* glazes = Ctl<QComboBox>(kGeGraphGlaze);
    const auto* previousGlaze = glazes->currentIndex() >= 0
                                    ? reinterpret_cast<const CGlaze*>(glazes->currentData().value<quintptr>())
                                    : nullptr;
    combo->clear();
    for (CGlazesDoc* database : GetOpenGlazeDatabases())
        combo->addItem(FromCp1252(database->GetDbName()), PointerData(database));
    int row = previous ? combo->findData(PointerData(previous)) : -1;
    // The first time round the preview starts on the first database's first glaze.
    if (row < 0 && first && combo->count() > 0)
        row = 0;
    combo->setCurrentIndex(row);
    FillGraphGlazeCombo(0);
    if (previousGlaze) {
        const int glazeRow = glazes->findData(PointerData(previousGlaze));
        if (glazeRow >= 0)
            glazes->setCurrentIndex(glazeRow);
    }
}

// Lists the glazes of the chosen database and selects row (-2 the last one).
void CGraphTypeEditView::FillGraphGlazeCombo(int select)
{
    QComboBox* combo = Ctl<QComboBox>(kGeGraphGlaze);
    combo->clear();
    const QComboBox* databases = Ctl<QComboBox>(kGeGraphDatabase);
    auto* database = databases->currentIndex() >= 0
                         ? reinterpret_cast<CGlazesDoc*>(databases->currentData().value<quintptr>())
                         : nullptr;
    if (database) {
        std::vector<CGlaze*> glazes;
        database->GetSelectedGlazes(glazes, true);
        for (CGlaze* glaze : glazes)
            combo->addItem(FromCp1252(glaze->m_name), PointerData(glaze));
    }
    const int row = select == -2 ? combo->count() - 1 : select;
    combo->setCurrentIndex(row < combo->count() ? row : -1);
}
