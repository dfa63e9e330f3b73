#include "support/UiHelpers.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "shell/OxidariumApp.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPen>

void Draw3DFrame(QPainter& painter, const QRect& rect, bool sunken, bool doubleFrame, bool lightGrey)
{
    const QPen black(QColor(0, 0, 0), 1);
    const QPen light(lightGrey ? QColor(0xC0, 0xC0, 0xC0) : QColor(0xFF, 0xFF, 0xFF), 1);
    const QPen& topLeftPen = sunken ? black : light;
    const QPen& bottomRightPen = sunken ? light : black;
    // Inclusive edges: the last column and row inside the rectangle.
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(topLeftPen);
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, top, left, bottom);
    if (doubleFrame) {
        painter.drawLine(left + 1, top + 1, right - 1, top + 1);
        painter.drawLine(left + 1, top + 1, left + 1, bottom - 1);
    }
    painter.setPen(bottomRightPen);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
    if (doubleFrame && !sunken) {
        painter.drawLine(left + 1, bottom - 1, right - 1, bottom - 1);
        painter.drawLine(right - 1, top + 1, right - 1, bottom - 1);
    }
    painter.restore();
}

std::string BrowseForFolder(QWidget* owner, const std::string& title)
{
    return FolderFromChoice(QFileDialog::getExistingDirectory(owner, FromCp1252(title)));
}

std::string FolderFromChoice(const QString& chosen)
{
    if (chosen.isEmpty())
        return std::string();
    const QFileInfo info(chosen);
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    std::string bytes = ToCp1252(path);
    // A path that does not survive the way into the program's texts would name another folder.
    if (!info.isDir() || FromCp1252(bytes) != path) {
        AppMessageBox(kNoDirectoryMessage, MsgOk | MsgIconError, 0);
        return std::string();
    }
    return bytes;
}
