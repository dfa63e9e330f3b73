#pragma once

// Controls placed on top of one another: a control the layout forgot stays in its parent's
// corner, over whatever stands there.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <string>
#include <vector>

// "a | b" for each pair of shown direct children of parent whose rectangles overlap by more than
// a few pixels each way (a label's box may reach a dialog unit into its neighbour's), and
// "a | corner" for a child left in the parent's top left corner, "a | outside" for one reaching
// beyond the parent; group boxes (which frame others) do not count, nor radio buttons of one row
// (their boxes may reach past their short texts into the next one).
inline std::vector<std::string> OverlappingControls(const QWidget& parent)
{
    const auto name = [](const QWidget* w) {
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            return button->text().toStdString();
        if (const auto* label = qobject_cast<const QLabel*>(w))
            return label->text().toStdString();
        return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString();
    };
    std::vector<const QWidget*> shown;
    for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden() && !qobject_cast<const QGroupBox*>(child) && !child->isWindow())
            shown.push_back(child);
    }
    std::vector<std::string> pairs;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i]->pos() == QPoint(0, 0))
            pairs.push_back(name(shown[i]) + " | corner");
        if (!parent.rect().contains(shown[i]->geometry()))
            pairs.push_back(name(shown[i]) + " | outside");
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            if (qobject_cast<const QRadioButton*>(shown[i]) && qobject_cast<const QRadioButton*>(shown[j]))
                continue;
            const QRect both = shown[i]->geometry().intersected(shown[j]->geometry());
            if (both.width() > 3 && both.height() > 3)
                pairs.push_back(name(shown[i]) + " | " + name(shown[j]));
        }
    }
    return pairs;
}
