#include "framework/QtMessageService.h"

#include "framework/Cp1252.h"
#include "framework/MdiFrame.h"
#include "shell/OxidariumApp.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include <vector>

namespace {

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & MsgIconMask) {
    case MsgIconError:
        return QMessageBox::Critical;
    case MsgIconQuestion:
        return QMessageBox::Question;
    case MsgIconExclamation:
        return QMessageBox::Warning;
    case MsgIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The buttons of a type, in their order on the box, with the results they give.
std::vector<std::pair<QMessageBox::StandardButton, int>> ButtonsOf(unsigned type)
{
    switch (type & MsgButtonMask) {
    case MsgOkCancel:
        return {{QMessageBox::Ok, MsgResultOk}, {QMessageBox::Cancel, MsgResultCancel}};
    case MsgYesNoCancel:
        return {{QMessageBox::Yes, MsgResultYes}, {QMessageBox::No, MsgResultNo},
                {QMessageBox::Cancel, MsgResultCancel}};
    case MsgYesNo:
        return {{QMessageBox::Yes, MsgResultYes}, {QMessageBox::No, MsgResultNo}};
    default:
        return {{QMessageBox::Ok, MsgResultOk}};
    }
}

std::size_t DefaultButtonPosition(unsigned type)
{
    switch (type & MsgDefaultMask) {
    case MsgDefaultButton2:
        return 1;
    case MsgDefaultButton3:
        return 2;
    default:
        return 0;
    }
}

// Boxes belong to whatever window the user is working in.
QWidget* BoxParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return CMDIMainFrame::Instance();
}

} // namespace

CHelpMessageBox::CHelpMessageBox(const QString& text, const QString& caption, unsigned type, unsigned helpId,
                                 QWidget* parent)
    : QMessageBox(parent), m_type(type), m_helpId(helpId)
{
    setWindowTitle(caption);
    setTextFormat(Qt::PlainText);
    setText(text);
    setIcon(IconOf(type));
    AddButtons(type);
}

void CHelpMessageBox::AddButtons(unsigned type)
{
    const auto buttons = ButtonsOf(type);
    for (const auto& [button, result] : buttons)
        addButton(button);
    // A default beyond the box's buttons falls back to the first, as the result without a box does.
    const std::size_t position = DefaultButtonPosition(type);
    setDefaultButton(buttons[position < buttons.size() ? position : 0].first);
    if (m_helpId == 0)
        return;
    m_helpButton = addButton(QMessageBox::Help);
    // The button box would end the box on any button; Help must leave it open.
    if (auto* box = findChild<QDialogButtonBox*>())
        QObject::disconnect(m_helpButton, &QAbstractButton::clicked, box, nullptr);
    connect(m_helpButton, &QAbstractButton::clicked, this, &CHelpMessageBox::OnHelp);
}

void CHelpMessageBox::keyPressEvent(QKeyEvent* event)
{
    if (m_helpButton && event->matches(QKeySequence::HelpContents)) {
        OnHelp();
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

int CHelpMessageBox::Result() const
{
    const auto buttons = ButtonsOf(m_type);
    if (QAbstractButton* clicked = clickedButton()) {
        for (const auto& [button, result] : buttons) {
            if (clicked == this->button(button))
                return result;
        }
    }
    // Closed without a button (Escape, the close box): the answer of the Escape key, which is
    // the last button of every set (OK, Cancel or No).
    return buttons.back().second;
}

void CHelpMessageBox::OnHelp()
{
    if (g_pApp) {
        // While this box is up its topic wins, also for boxes not shown through the application.
        const unsigned outer = g_pApp->m_nBoxHelpId;
        g_pApp->m_nBoxHelpId = m_helpId;
        g_pApp->ShowHelp(m_helpId);
        g_pApp->m_nBoxHelpId = outer;
    } else if (CMessageService* service = GetMessageService()) {
        service->ShowHelp(HelpRequest::Context, m_helpId);
    }
}

int CQtMessageService::ShowMessageBox(const std::string& text, const std::string& caption, unsigned type,
                                      unsigned helpId)
{
    CHelpMessageBox box(FromMessageText(text), FromCp1252(caption), type, helpId, BoxParent());
    box.exec();
    return box.Result();
}

QString CQtMessageService::HelpStatusText(HelpRequest request, unsigned contextId)
{
    switch (request) {
    case HelpRequest::Context:
        return QStringLiteral("Help topic %1: no help file is installed").arg(contextId);
    case HelpRequest::Finder:
        return QStringLiteral("Help contents: no help file is installed");
    default:
        return QString();
    }
}

void CQtMessageService::ShowHelp(HelpRequest request, unsigned contextId)
{
    const QString text = HelpStatusText(request, contextId);
    CMDIMainFrame* frame = CMDIMainFrame::Instance();
    if (frame && !text.isEmpty())
        frame->ShowStatusMessage(text);
}

int CQtMessageService::ScreenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}
