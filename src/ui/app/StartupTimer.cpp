#include "app/StartupTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <time.h>
#include <unistd.h>

namespace {

// The process's start in seconds after boot, or a negative number when unknown. Field 22 of
// /proc/self/stat, counted after the command name (which may hold blanks and parentheses).
double ProcessStartAfterBoot()
{
    std::ifstream in("/proc/self/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    if (nameEnd == std::string::npos || ticksPerSecond <= 0)
        return -1.0;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22)
            return static_cast<double>(std::stoull(field)) / static_cast<double>(ticksPerSecond);
    }
    return -1.0;
}

double SecondsAfterBoot()
{
    timespec now{};
    if (::clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1.0;
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace

double CStartupTimer::SecondsSinceLaunch()
{
    static const auto firstCall = std::chrono::steady_clock::now();
    const double start = ProcessStartAfterBoot();
    const double now = SecondsAfterBoot();
    if (start >= 0.0 && now >= start)
        return now - start;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - firstCall).count();
}

CStartupTimer::CStartupTimer(QWidget* window, std::function<void(double)> report)
    : m_window(window), m_report(std::move(report))
{
    if (!m_window || !m_window->isVisible() || m_window->isMinimized()) {
        Finish();
        return;
    }
    m_window->installEventFilter(this);
}

bool CStartupTimer::eventFilter(QObject* watched, QEvent* event)
{
    // The window's first paint starts a pass that paints its child windows too; the report
    // follows the whole pass.
    if (watched == m_window && event->type() == QEvent::Paint && !m_done)
        QTimer::singleShot(0, this, [this] { Finish(); });
    return QObject::eventFilter(watched, event);
}

void CStartupTimer::Finish()
{
    if (m_done)
        return;
    m_done = true;
    if (m_window)
        m_window->removeEventFilter(this);
    if (m_report)
        m_report(SecondsSinceLaunch());
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::quit(); });
}
