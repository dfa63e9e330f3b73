#pragma once

// The two-state page button of tabbed forms and dialogs. It paints itself: the background and
// text colour of its state, a double 3-D frame that looks pressed while the state equals the
// pressed value, and the caption, which carries arrow markers while the button is on.
//
// Owners set everything with Setup, and when the page changes they set state and call Redraw.

#include "shell/NamedColors.h"

#include <QAbstractButton>

#include <string>

class CToggleButton : public QAbstractButton {
    Q_OBJECT

public:
    // Arrow markers of the caption while the button is on.
    enum ArrowStyle : int {
        ArrowNone = 0,  // caption alone
        ArrowRight = 1, // caption + "  >>"
        ArrowLeft = 2,  // "<<  " + caption
        ArrowDown = 3,  // "VV  " + caption + "  VV"
        ArrowUp = 4,    // "^^  " + caption + "  ^^"
    };

    explicit CToggleButton(QWidget* parent = nullptr);

    void Setup(const CColor& offBackground, const CColor& onBackground, const CColor& offText,
               const CColor& onText, int arrowStyle, int pressedValue, int state, const std::string& caption);
    // Repaints at once.
    void Redraw();

    // The text the button shows for its present state.
    QString DisplayText() const;

    // Non-zero: on. The button looks pressed while state equals pressedValue.
    int state = 0;
    int pressedValue = 1;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont CaptionFont() const;

    CColor m_offBackground{192, 192, 192};
    CColor m_onBackground{192, 192, 192};
    CColor m_offText{0, 0, 0};
    CColor m_onText{0, 0, 0};
    int m_arrowStyle = ArrowNone;
    std::string m_caption;
};
