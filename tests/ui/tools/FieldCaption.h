#pragma once

// A field's caption: a shown label of that exact text on the field's line, left of it (or right
// of it, for a unit), or just above it (a heading over a list). A label the layout lost leaves the field without a caption.

#include <QLabel>
#include <QWidget>

#include <cstdlib>
#include <string>

// "" when the caption stands beside the field, else what is wrong with it.
inline std::string CaptionFault(const QWidget& field, const char* text)
{
    const QLabel* caption = nullptr;
    for (const QLabel* label : field.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text() == QString::fromLatin1(text))
            caption = label;
    }
    if (!caption)
        return std::string("no label \"") + text + "\"";
    if (caption->isHidden())
        return std::string("\"") + text + "\" is hidden";
    const QRect l = caption->geometry();
    const QRect f = field.geometry();
    const bool left = l.left() > 0 && l.right() <= f.left() + 2 && l.bottom() >= f.top() && l.top() <= f.bottom();
    // Only a unit stands right of its field: a caption ending in a colon introduces what follows it.
    const bool right = !QString::fromLatin1(text).endsWith(QLatin1Char(':')) && l.left() >= f.right() - 2 &&
                       l.bottom() >= f.top() && l.top() <= f.bottom();
    const bool above = l.left() > 0 && l.bottom() <= f.top() + 2 && f.top() - l.bottom() < 2 * l.height() &&
                       l.left() <= f.left() && l.right() > f.left();
    if (left || right || above)
        return std::string();
    return std::string("\"") + text + "\" at " + std::to_string(l.left()) + "," + std::to_string(l.top()) +
           " is not beside its field at " + std::to_string(f.left()) + "," + std::to_string(f.top());
}
