#include "framework/PasteGuard.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool OffersData(const QMimeData* data)
{
    return data && !data->formats().isEmpty();
}

bool ClipboardOffersData(QClipboard::Mode mode)
{
    return OffersData(QGuiApplication::clipboard()->mimeData(mode));
}

// The editable multi-line field that object is, or whose viewport it is.
QWidget* EditableTextField(QObject* object)
{
    QObject* candidates[] = {object, object ? object->parent() : nullptr};
    for (QObject* candidate : candidates) {
        if (auto* plain = qobject_cast<QPlainTextEdit*>(candidate))
            return plain->isReadOnly() ? nullptr : plain;
        if (auto* rich = qobject_cast<QTextEdit*>(candidate))
            return rich->isReadOnly() ? nullptr : rich;
    }
    return nullptr;
}

bool IsViewportOf(QObject* object, QWidget* field)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(field);
    return area && object == area->viewport();
}

// Where a key that pastes takes its text from (Ctrl+Shift+Insert: the X selection).
QClipboard::Mode PasteMode(const QKeyEvent& key)
{
    const bool selection = key.key() == Qt::Key_Insert && key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    return selection && QGuiApplication::clipboard()->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard;
}

// A context menu of a multi-line field made while the clipboard held text may be used after its
// owner has quit: its Paste is switched off before the menu takes a click or a key.
void DisableStalePaste(QMenu& menu)
{
    if (!EditableTextField(menu.parent()) || ClipboardOffersData(QClipboard::Clipboard))
        return;
    for (QAction* action : menu.actions())
        if (action->objectName() == QLatin1String("edit-paste"))
            action->setEnabled(false);
}

bool IsPasteEvent(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        return key.matches(QKeySequence::Paste) && EditableTextField(watched) == watched &&
               !ClipboardOffersData(PasteMode(key));
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return static_cast<const QMouseEvent&>(*event).button() == Qt::MiddleButton &&
               QGuiApplication::clipboard()->supportsSelection() && IsViewportOf(watched, EditableTextField(watched)) &&
               !ClipboardOffersData(QClipboard::Selection);
    case QEvent::Drop:
        return IsViewportOf(watched, EditableTextField(watched)) &&
               !OffersData(static_cast<const QDropEvent&>(*event).mimeData());
    default:
        return false;
    }
}

class CPasteGuard : public QObject {
public:
    explicit CPasteGuard(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("oxidariumPasteGuard")); }

protected:
    // Returns true, and so drops the event, only for a paste that would find nothing to paste.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            if (type == QEvent::KeyPress || type == QEvent::MouseButtonRelease)
                DisableStalePaste(*menu);
            return false;
        }
        return IsPasteEvent(watched, event);
    }
};

} // namespace

void InstallPasteGuard(QApplication& application)
{
    if (application.findChild<QObject*>(QStringLiteral("oxidariumPasteGuard"), Qt::FindDirectChildrenOnly))
        return;
    application.installEventFilter(new CPasteGuard(&application));
}
