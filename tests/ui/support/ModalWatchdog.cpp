#include "ui/support/ModalWatchdog.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

namespace {

int s_driversAtWork = 0;

// What names a window in a failure: its class, its title, and a message box's text.
std::string Describe(const QWidget& window)
{
    std::string name = std::string(window.metaObject()->className()) + " \"" + window.windowTitle().toStdString() + "\"";
    if (const auto* box = qobject_cast<const QMessageBox*>(&window))
        name += " saying \"" + box->text().toStdString() + "\"";
    return name;
}

// Rejected as its Escape key would; a window that stays (its rejection refused) is hidden, which
// ends its event loop all the same.
void Dismiss(QWidget* window)
{
    QPointer<QWidget> guarded(window);
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
    if (guarded && guarded->isVisible())
        guarded->hide();
}

double ClockMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class CModalWatchdog : public QObject {
public:
    CModalWatchdog(int seconds, QObject* parent) : QObject(parent), m_limitMs(seconds * 1000)
    {
        m_timer.setInterval(100);
        connect(&m_timer, &QTimer::timeout, this, [this] { Look(); });
        m_timer.start();
    }

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal != m_window || s_driversAtWork > 0) {
            m_window = modal;
            m_since = SleptMs();
            return;
        }
        if (SleptMs() - m_since < m_limitMs)
            return;
        ADD_FAILURE() << "a modal window nobody answered stood for " << m_limitMs / 1000
                      << " s and was closed: " << Describe(*modal);
        m_window = nullptr;
        // Dismissed outside this look: what its rejection opens is watched in turn.
        QTimer::singleShot(0, modal, [modal] { Dismiss(modal); });
    }

    const qint64 m_limitMs;
    QTimer m_timer;
    QPointer<QWidget> m_window;
    double m_since = 0; // SleptMs when the window came up
};

} // namespace

// The scheduler's statistics of the thread: the nanoseconds it ran and waited to run.
double SleptMs()
{
    std::ifstream statistics("/proc/thread-self/schedstat");
    unsigned long long ran = 0;
    unsigned long long readyToRun = 0;
    if (!(statistics >> ran >> readyToRun))
        return ClockMs();
    return ClockMs() - static_cast<double>(ran + readyToRun) / 1e6;
}

void StartModalWatchdog()
{
    bool set = false;
    const int seconds = qEnvironmentVariableIntValue("OXI_MODAL_WATCHDOG_SECONDS", &set);
    // Lives as long as the application object, its parent.
    new CModalWatchdog(set && seconds > 0 ? seconds : kModalWatchdogSeconds, QCoreApplication::instance());
}

CModalDriverToken::CModalDriverToken()
{
    ++s_driversAtWork;
}

CModalDriverToken::~CModalDriverToken()
{
    --s_driversAtWork;
}
