#pragma once

// Types text into a widget as a keyboard would, one key press per character, whatever the
// character (QTest::keyClicks types Latin-1 only).

#include <QString>
#include <QTest>
#include <QWidget>

inline void TypeText(QWidget* widget, const QString& text)
{
    for (const char32_t character : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&character, 1), Qt::NoModifier);
}
