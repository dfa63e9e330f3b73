#include "graphs/InfoPopupDlg.h"

#include "framework/Cp1252.h"
#include "shell/NamedColors.h"
#include "support/DialogStyle.h"
#include "support/Services.h"
#include "support/TextLines.h"
#include "textfile/Information.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QShortcut>

#include <algorithm>

namespace {

constexpr const char* kLineBreak = "\r\n";

std::string EndedWithLineBreak(const std::string& text)
{
    return text.size() >= 2 && text.compare(text.size() - 2, 2, kLineBreak) == 0 ? text : text + kLineBreak;
}

// Writes the text into the emptied Information window, one line per line of the text.
void ReplaceInformation(const std::string& text)
{
    ClearInformation();
    std::vector<std::string> lines = SplitLines(EndedWithLineBreak(text), LineBreaks::CrLf, true);
    lines.pop_back(); // what follows the last line break
    for (const std::string& line : lines)
        ShowInformation(line);
}

} // namespace

CInfoPopupText::CInfoPopupText(QWidget* parent) : QWidget(parent) {}

void CInfoPopupText::SetText(const std::string& text)
{
    m_text = text;
    update();
}

QFont CInfoPopupText::TextFont() const
{
    return m_usePreferencesFont ? EditBoxFont(QApplication::font()) : QApplication::font();
}

QSize CInfoPopupText::MeasureText() const
{
    const QFontMetrics metrics(TextFont());
    int width = 0, height = 0;
    for (const std::string& line : SplitLines(m_text, LineBreaks::CrLf, true)) {
        const QString shown = line.empty() ? QStringLiteral(" ") : FromCp1252(line);
        width = std::max(width, metrics.horizontalAdvance(shown));
        height += metrics.height();
    }
    // The text starts inside the margins; the same room on the far sides keeps the last
    // characters and lines from being cut off.
    return QSize(width + 2 * kMargin, height + 2 * kMargin);
}

void CInfoPopupText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
    painter.setFont(TextFont());
    painter.setPen(Qt::black);
    const QFontMetrics metrics(painter.font());
    int y = kMargin;
    for (const std::string& line : SplitLines(m_text, LineBreaks::CrLf, true)) {
        painter.drawText(QPoint(kMargin, y + metrics.ascent()), FromCp1252(line));
        y += metrics.height();
    }
}

CInfoPopupDlg::CInfoPopupDlg(QWidget* owner)
    // A small tool window: its caption (the chart's title) keeps the room that minimise and
    // maximise buttons would take.
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_textControl(new CInfoPopupText(this)), m_owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    const int border = (kTemplateWidth - kTemplateTextWidth) / 2;
    m_textControl->setGeometry(border, (kTemplateHeight - kTemplateTextHeight) / 2, kTemplateTextWidth,
                               kTemplateTextHeight);
    setFixedSize(kTemplateWidth, kTemplateHeight);
    const std::pair<int, QKeySequence> keys[] = {
        {CmdCopyToClipboard, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {CmdCopyToInformation, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {CmdCopyFullInfo, QKeySequence(Qt::CTRL | Qt::Key_F)},
    };
    for (const auto& [command, key] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this, command = command] { OnCommand(command); });
    }
    show();
}

void CInfoPopupDlg::ShowText(const std::string& text)
{
    m_textControl->SetText(text);
    const QSize measured = m_textControl->MeasureText();
    const int width = std::max(measured.width(), kTemplateTextWidth);
    const int height = std::max(measured.height(), kTemplateTextHeight);
    m_textControl->resize(width, height);
    setFixedSize(width + (kTemplateWidth - kTemplateTextWidth), height + (kTemplateHeight - kTemplateTextHeight));
    if (!isVisible())
        show();
    update();
}

void CInfoPopupDlg::SetCaption(const std::string& text) { setWindowTitle(FromCp1252(text)); }

void CInfoPopupDlg::OnCommand(int command)
{
    switch (command) {
    case CmdCopyToClipboard:
        if (CClipboardService* clipboard = GetClipboardService())
            clipboard->SetText(EndedWithLineBreak(m_textControl->GetText()));
        break;
    case CmdCopyToInformation: ReplaceInformation(m_textControl->GetText()); break;
    case CmdCopyFullInfo: ReplaceInformation(m_fullInfo); break;
    default: break;
    }
}

QMenu* CInfoPopupDlg::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    const std::pair<int, const char*> items[] = {
        {CmdCopyToClipboard, " > Copy to &Clipboard\tCtrl-C"},
        {CmdCopyToInformation, " > Copy to &Information window\tCtrl-I"},
        {CmdCopyFullInfo, " > Copy &Full Info to Information Window\tCtrl-F"},
    };
    for (const auto& [command, text] : items) {
        QAction* action = menu->addAction(FromCp1252(text));
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command = command] { OnCommand(command); });
    }
    return menu;
}

void CInfoPopupDlg::ShowContextMenu(const QPoint& clientPosition)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(clientPosition));
}

void CInfoPopupDlg::contextMenuEvent(QContextMenuEvent* event) { ShowContextMenu(event->pos()); }

void CInfoPopupDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CColor color = GetNamedColor("dlg_misc_bkg");
    painter.fillRect(rect(), QColor(color.r, color.g, color.b));
}

void CInfoPopupDlg::closeEvent(QCloseEvent* event)
{
    // Accepted here: the dialog's own handling would turn the close into a reject, which closes.
    emit Closed(this);
    event->accept();
}
