#include "support/RightClickListBox.h"

#include <QMouseEvent>

CRightClickListBox::CRightClickListBox(QWidget* parent) : QListWidget(parent)
{
}

void CRightClickListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit rightClicked(message, controlId, event->position().toPoint());
    QListWidget::mousePressEvent(event);
}
