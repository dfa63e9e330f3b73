#pragma once

// A list box that tells its owner about right-button clicks before handling them as usual, so
// dialogs can offer a context menu on their lists.

#include <QListWidget>
#include <QPoint>

class CRightClickListBox : public QListWidget {
    Q_OBJECT

public:
    explicit CRightClickListBox(QWidget* parent = nullptr);

    // The notice number handed with every click (1234 unless the owner changes it) and the
    // list's control id.
    int message = 1234;
    int controlId = 0;

signals:
    // A right-button press at point (in the list's client area, where the rows are drawn).
    void rightClicked(int message, int controlId, QPoint point);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
