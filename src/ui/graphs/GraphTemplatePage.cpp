#include "graphs/GraphTemplatePage.h"

#include "shell/NamedColors.h"
#include "support/ChoiceBox.h"
#include "support/DialogStyle.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

CGraphTemplatePage::CGraphTemplatePage(int page, QWidget* parent) : QWidget(parent), m_page(page)
{
    setObjectName(QStringLiteral("page%1").arg(page));
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(GetNamedColor("grted_tab")));
    setPalette(colors);
    setAutoFillBackground(true);
}

void CGraphTemplatePage::Place(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

void CGraphTemplatePage::Register(int id, QWidget* control)
{
    if (id == 0)
        return;
    control->setObjectName(QString::number(id));
    m_controls[id] = control;
}

QLabel* CGraphTemplatePage::AddLabel(const char* text, int x, int y, int width, int id)
{
    auto* label = new QLabel(QString::fromLatin1(text), this);
    Place(label, x, y, width, 10);
    Register(id, label);
    return label;
}

QCheckBox* CGraphTemplatePage::AddCheck(int id, const char* text, int x, int y, int width)
{
    auto* check = new QCheckBox(QString::fromLatin1(text), this);
    Place(check, x, y, width, 10);
    Register(id, check);
    return check;
}

QLineEdit* CGraphTemplatePage::AddEdit(int id, int x, int y, int width)
{
    auto* edit = new QLineEdit(this);
    Place(edit, x, y, width, 12);
    Register(id, edit);
    return edit;
}

QLineEdit* CGraphTemplatePage::AddLabelledEdit(int id, int labelId, const char* text, int x, int y, int labelWidth,
                                               int editWidth)
{
    QLabel* label = AddLabel(text, x, y + 2, labelWidth, labelId);
    QLineEdit* edit = AddEdit(id, x + labelWidth, y, editWidth);
    SetBuddy(id, label);
    return edit;
}

QComboBox* CGraphTemplatePage::AddCombo(int id, int x, int y, int width, int dropHeight, bool editable)
{
    auto* combo = new QComboBox(this);
    if (editable)
        MakeChoiceBox(combo);
    // The drop-down height in dialog units decides how many rows show at once.
    combo->setMaxVisibleItems(std::max(5, dropHeight / 9));
    Place(combo, x, y, width, 13);
    Register(id, combo);
    return combo;
}

QListWidget* CGraphTemplatePage::AddList(int id, int x, int y, int width, int height)
{
    auto* list = new QListWidget(this);
    Place(list, x, y, width, height);
    Register(id, list);
    return list;
}

QPushButton* CGraphTemplatePage::AddButton(int id, const char* text, int x, int y, int width, int height)
{
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setAutoDefault(false);
    Place(button, x, y, width, height);
    Register(id, button);
    return button;
}

QGroupBox* CGraphTemplatePage::AddGroup(int id, const char* text, int x, int y, int width, int height)
{
    auto* group = new QGroupBox(QString::fromLatin1(text), this);
    Place(group, x, y, width, height);
    group->lower();
    Register(id, group);
    return group;
}

QRadioButton* CGraphTemplatePage::AddRadio(int groupId, int id, int value, const char* text, int x, int y, int width)
{
    QButtonGroup*& group = m_groups[groupId];
    if (!group)
        group = new QButtonGroup(this);
    auto* radio = new QRadioButton(QString::fromLatin1(text), this);
    Place(radio, x, y, width, 10);
    group->addButton(radio, value);
    Register(id, radio);
    return radio;
}

void CGraphTemplatePage::AddControl(int id, QWidget* control, int x, int y, int width, int height)
{
    control->setParent(this);
    Place(control, x, y, width, height);
    Register(id, control);
}
