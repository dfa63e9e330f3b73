#include "support/SimilarSearchDlg.h"

#include "framework/Cp1252.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr int kLeft = CSimilarSearchDlg::kLeftColumn;
constexpr int kRight = CSimilarSearchDlg::kRightColumn;
constexpr int kColumnWidth = 168;

constexpr const char* kOxideMeasures[] = {
    "Nonvolatile oxides (% weight)", "Nonvolatile oxides (% molecular)", "All oxides (% weight)",
    "All oxides (% molecular)",      "Alkali oxides (% weight)",         "Alkali oxides (% molecular)",
};

} // namespace

CSimilarSearchDlg::CSimilarSearchDlg(QWidget* parent, unsigned help, const char* colorName,
                                     const CSimilarSearchIds& ids, const CLabels& labels)
    : CToolDlg(parent, help, colorName)
{
    BuildScope(ids, labels);
    BuildMeasures(ids, labels);
    BuildOutput(ids, labels);
    connect(m_compare, &QButtonGroup::idClicked, this, &CSimilarSearchDlg::UpdateSelectSimilar);
    connect(m_compareTo, &QButtonGroup::idClicked, this, &CSimilarSearchDlg::UpdateSelectSimilar);
}

void CSimilarSearchDlg::BuildScope(const CSimilarSearchIds& ids, const CLabels& labels)
{
    AddGroup(QStringLiteral("Compare"), kLeft, 4, kColumnWidth, kExtraTop + 2);
    AddGroup(QStringLiteral("Compare to"), kRight, 4, kColumnWidth, kExtraTop + 2);
    m_compare = new QButtonGroup(this);
    m_compareTo = new QButtonGroup(this);
    const QString selected = QString::fromLatin1(labels.selected);
    const QString all = QString::fromLatin1(labels.all);
    // As wide as the group allows: a dialog with more choices in the group places them later,
    // over the free end of these.
    constexpr int kWidth = kColumnWidth - 12;
    AddRadio(m_compare, selected, ids.compare[0], 0, kLeft + 6, 16, kWidth);
    AddRadio(m_compare, all, ids.compare[1], 1, kLeft + 6, 28, kWidth);
    AddRadio(m_compareTo, selected, ids.compareTo[0], 0, kRight + 6, 16, kWidth);
    AddRadio(m_compareTo, all, ids.compareTo[1], 1, kRight + 6, 28, kWidth);
    m_measuresTop = 4 + kExtraTop + 8;
}

void CSimilarSearchDlg::BuildMeasures(const CSimilarSearchIds& ids, const CLabels& labels)
{
    std::vector<const char*> measures(std::begin(kOxideMeasures), std::end(kOxideMeasures));
    measures.insert(measures.end(), labels.extraMeasures.begin(), labels.extraMeasures.end());
    const int rows = static_cast<int>((measures.size() + 1) / 2);
    AddGroup(QStringLiteral("Similarity measures"), kLeft, m_measuresTop, kRight + kColumnWidth - kLeft,
             14 + rows * 12);
    for (std::size_t n = 0; n < measures.size(); ++n) {
        const int column = static_cast<int>(n) / rows;
        const int row = static_cast<int>(n) % rows;
        m_measures.push_back(AddCheck(QString::fromLatin1(measures[n]), ids.measures[n],
                                      kLeft + 6 + column * (kRight - kLeft), m_measuresTop + 12 + row * 12,
                                      kColumnWidth - 8));
    }
    m_bottom = m_measuresTop + 14 + rows * 12 + 6;
}

void CSimilarSearchDlg::BuildOutput(const CSimilarSearchIds& ids, const CLabels& labels)
{
    const int top = m_bottom;
    m_outputTop = top;
    m_scoreDisplay = new QButtonGroup(this);
    AddRadio(m_scoreDisplay, QStringLiteral("Show all scores"), ids.scoreDisplay[0], 0, kLeft, top, 120);
    AddRadio(m_scoreDisplay, QStringLiteral("Show composite scores only"), ids.scoreDisplay[1], 1, kLeft, top + 12,
             130);
    m_howMany = new QButtonGroup(this);
    AddRadio(m_howMany, QStringLiteral("Show top"), ids.howMany[0], 0, kLeft, top + 28, 44);
    m_topCount = AddEdit(ids.topCount, kLeft + 46, top + 27, 24);
    AddRadio(m_howMany, QStringLiteral("Show all"), ids.howMany[1], 1, kLeft, top + 42, 60);
    AddLabel(QStringLiteral("Cutoff below"), 0, kLeft, top + 60, 48);
    m_cutoff = AddEdit(ids.cutoff, kLeft + 50, top + 58, 30);
    AddLabel(QStringLiteral("%"), 0, kLeft + 82, top + 60, 10);

    m_selectSimilar = AddCheck(QString::fromLatin1(labels.selectSimilar), ids.selectSimilar, kRight, top, 140);
    m_lessVerbose = AddCheck(QStringLiteral("Less verbose output"), ids.lessVerbose, kRight, top + 12, 140);
    m_summaryOnly = AddCheck(QStringLiteral("Show summary only"), ids.summaryOnly, kRight, top + 24, 140);
    m_bottom = top + 76;
}

void CSimilarSearchDlg::FinishLayout()
{
    AddOkCancelHelp(kRightColumn + 36, BottomOfControls());
    ResizeDlu(kRightColumn + 176, BottomOfControls() + 22);
    setFixedSize(size());
}

void CSimilarSearchDlg::LoadChoices(const CSimilarSearchChoices& choices)
{
    CheckRadioValue(m_compare, choices.compare);
    CheckRadioValue(m_compareTo, choices.compareTo);
    for (std::size_t n = 0; n < m_measures.size(); ++n)
        m_measures[n]->setChecked(n < choices.measures.size() && choices.measures[n] != 0);
    CheckRadioValue(m_scoreDisplay, choices.compositeOnly);
    CheckRadioValue(m_howMany, choices.showAll);
    m_topCount->setText(QString::number(choices.topCount));
    m_cutoff->setText(NumberText(choices.cutoff));
    m_selectSimilar->setChecked(choices.selectSimilar != 0);
    m_lessVerbose->setChecked(choices.lessVerbose != 0);
    m_summaryOnly->setChecked(choices.summaryOnly != 0);
    UpdateSelectSimilar();
}

bool CSimilarSearchDlg::ReadChoices(CSimilarSearchChoices& choices)
{
    UpdateSelectSimilar();
    int topCount = 0;
    double cutoff = 0.0;
    if (!ReadWholeNumber(m_topCount, 1, kMaxTopCount, topCount) || !ReadNumber(m_cutoff, 0.0, 100.0, cutoff))
        return false;
    choices.compare = std::max(0, m_compare->checkedId());
    choices.compareTo = std::max(0, m_compareTo->checkedId());
    choices.measures.clear();
    for (const QCheckBox* box : m_measures)
        choices.measures.push_back(box->isChecked() ? 1 : 0);
    choices.compositeOnly = std::max(0, m_scoreDisplay->checkedId());
    choices.showAll = std::max(0, m_howMany->checkedId());
    choices.topCount = topCount;
    choices.cutoff = cutoff;
    choices.selectSimilar = m_selectSimilar->isChecked() ? 1 : 0;
    choices.lessVerbose = m_lessVerbose->isChecked() ? 1 : 0;
    choices.summaryOnly = m_summaryOnly->isChecked() ? 1 : 0;
    return true;
}

void CSimilarSearchDlg::UpdateSelectSimilar()
{
    const bool allowed = selectionPresent && m_compare->checkedId() == 0 && SelectSimilarAllowed();
    if (!allowed)
        m_selectSimilar->setChecked(false);
    m_selectSimilar->setEnabled(allowed);
}
