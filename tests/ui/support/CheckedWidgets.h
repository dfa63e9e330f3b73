#pragma once

// Reaching a row of a list or a button of a group that the program made, without checking first
// that it is there: a missing one fails the test at the caller's line, and a blank stand-in takes
// its place, so that the checks after it fail on their own and the run goes on instead of ending
// on a null pointer.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QListWidget>
#include <QListWidgetItem>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <source_location>

// Row row (0 for the first) of list.
inline QListWidgetItem& ListRow(const QListWidget* list, int row,
                                std::source_location where = std::source_location::current())
{
    if (QListWidgetItem* item = list ? list->item(row) : nullptr)
        return *item;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "expected row " << row + 1 << ", but the list has " << (list ? list->count() : 0);
    static QListWidgetItem* none = new QListWidgetItem; // kept for the run: the list items outlive no application
    *none = QListWidgetItem();
    return *none;
}

// The button of group with id id.
inline QAbstractButton& GroupButton(const QButtonGroup* group, int id,
                                    std::source_location where = std::source_location::current())
{
    if (QAbstractButton* button = group ? group->button(id) : nullptr)
        return *button;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "no button " << id << " in the group";
    static QPushButton* none = new QPushButton; // a widget must not outlive the application
    return *none;
}

// The standard button which of box.
inline QAbstractButton& BoxButton(const QMessageBox* box, QMessageBox::StandardButton which,
                                  std::source_location where = std::source_location::current())
{
    if (QAbstractButton* button = box ? box->button(which) : nullptr)
        return *button;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "no such button in the message box";
    static QPushButton* none = new QPushButton; // a widget must not outlive the application
    return *none;
}

// A control reached through an accessor that finds none when the program did not make it (a
// look-up by id or by name).
template <class Widget>
Widget& Control(Widget* control, std::source_location where = std::source_location::current())
{
    if (control)
        return *control;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "the control is missing";
    static Widget* none = new Widget; // a widget must not outlive the application
    return *none;
}
