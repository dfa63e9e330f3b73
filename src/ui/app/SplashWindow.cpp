#include "app/SplashWindow.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdlib>

bool CSplashWindow::s_bShowSplash = true;

namespace {

CSplashWindow* s_current = nullptr;

// The eight neighbours, clockwise from up-left (y grows downwards).
constexpr std::array<QPoint, 8> kDirections{QPoint(-1, -1), QPoint(0, -1), QPoint(1, -1), QPoint(1, 0),
                                            QPoint(1, 1),   QPoint(0, 1),  QPoint(-1, 1), QPoint(-1, 0)};

bool IsInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

int Channel(std::uint32_t color, int shift)
{
    return static_cast<int>((color >> shift) & 0xFF);
}

} // namespace

CSplashWindow::CSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_timer(new QTimer(this))
{
    // The splash never keeps the program running by itself.
    setAttribute(Qt::WA_QuitOnClose, false);
    setCursor(Qt::ArrowCursor);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { Close(); });
}

CSplashWindow::~CSplashWindow()
{
    StopWatchingInput();
    if (s_current == this)
        s_current = nullptr;
}

CSplashWindow* CSplashWindow::Current()
{
    return s_current;
}

bool CSplashWindow::LoadPicture(const QString& source, std::uint32_t transparentColor, std::optional<QPoint> sample,
                                int tolerance)
{
    const bool loaded = source.startsWith(QLatin1Char(':')) ? m_picture.LoadFromResource(source, true)
                                                             : m_picture.LoadFromFile(source, true);
    m_region = QRegion();
    if (!loaded)
        return false;
    if (transparentColor == kNoTransparentColor) {
        m_transparentColor = kNoTransparentColor;
        return true;
    }
    if (transparentColor == kSampleTransparentColor) {
        QPoint at = sample.value_or(QPoint(0, 0));
        if (at.x() < 0 || at.y() < 0 || at.x() >= m_picture.Width() || at.y() >= m_picture.Height())
            at = QPoint(0, 0);
        transparentColor = m_picture.GetPixel(at.x(), at.y());
    }
    m_transparentColor = transparentColor;
    m_nTolerance = std::max(0, tolerance);
    if (!BuildRegion()) {
        m_region = QRegion();
        return false;
    }
    return true;
}

bool CSplashWindow::IsTransparentPixel(int x, int y, bool outsideDefault) const
{
    const std::uint32_t pixel = m_picture.GetPixel(x, y);
    if (pixel == CDibBitmap::kNoColor)
        return outsideDefault;
    for (int shift : {0, 8, 16}) {
        if (std::abs(Channel(pixel, shift) - Channel(m_transparentColor, shift)) > m_nTolerance)
            return false;
    }
    return true;
}

// The start is the first opaque pixel on the diagonal from the top-left corner; when the
// diagonal runs out of the picture, the first opaque pixel row by row.
std::optional<QPoint> CSplashWindow::FindStartPixel() const
{
    const int width = m_picture.Width();
    const int height = m_picture.Height();
    for (int i = 0; i < width && i < height; ++i) {
        if (!IsTransparentPixel(i, i, true))
            return QPoint(i, i);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!IsTransparentPixel(x, y, true))
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// Follows the outline clockwise from the start pixel (Moore-neighbour tracing). Straight runs
// become one edge: a step in the same direction as the one before moves the last point.
QPolygon CSplashWindow::TraceOutline(QPoint start, int firstDirection) const
{
    QPolygon outline;
    outline << start;
    QPoint current = start + kDirections[static_cast<std::size_t>(firstDirection)];
    outline << current;
    int direction = firstDirection;
    // Each pixel is left at most once per direction; a longer walk cannot be an outline.
    const long long maxSteps = 8LL * m_picture.Width() * m_picture.Height() + 8;
    for (long long step = 0; current != start && step < maxSteps; ++step) {
        const int first = ((direction + 7) & ~1) % 8;
        int next = -1;
        for (int i = 0; i < 7; ++i) {
            const int candidate = (first + i) % 8;
            const QPoint neighbour = current + kDirections[static_cast<std::size_t>(candidate)];
            if (!IsTransparentPixel(neighbour.x(), neighbour.y(), true)) {
                next = candidate;
                break;
            }
        }
        if (next < 0)
            break;
        current += kDirections[static_cast<std::size_t>(next)];
        if (next == direction)
            outline.last() = current;
        else
            outline << current;
        direction = next;
    }
    return outline;
}

bool CSplashWindow::BuildRegion()
{
    const std::optional<QPoint> start = FindStartPixel();
    if (!start)
        return false;
    int firstDirection = -1;
    for (int d = 0; d < 8; ++d) {
        const QPoint neighbour = *start + kDirections[static_cast<std::size_t>(d)];
        if (!IsTransparentPixel(neighbour.x(), neighbour.y(), true)) {
            firstDirection = d;
            break;
        }
    }
    if (firstDirection < 0)
        return false; // a lone pixel
    m_region = QRegion(TraceOutline(*start, firstDirection), Qt::OddEvenFill);
    return !m_region.isEmpty();
}

bool CSplashWindow::Show(int displayTime, QWidget* parent, std::optional<QPoint> position)
{
    if ((s_current == this && !s_bShowSplash) || !m_picture.IsLoaded())
        return false;
    if (displayTime < 1 && displayTime != kNoTimer)
        displayTime = kDefaultDisplayTime;
    if (isVisible())
        Close();
    m_nDisplayTime = displayTime;
    s_current = this;
    // A splash-screen window stays out of the task bar with or without an owner.
    if (parent)
        setParent(parent, windowFlags());
    setFixedSize(m_picture.Width(), m_picture.Height());
    if (!m_region.isEmpty())
        setMask(m_region);
    else
        clearMask();
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = parent ? parent->geometry() : (screen ? screen->geometry() : QRect(0, 0, 800, 600));
    move(position.value_or(area.center() - QPoint(width() / 2, height() / 2)));
    if (m_nDisplayTime != kNoTimer)
        m_timer->start(m_nDisplayTime);
    show();
    raise();
    if (m_bCloseOnInput && !m_watchingInput) {
        qApp->installEventFilter(this);
        m_watchingInput = true;
    }
    if (!position)
        repaint();
    return true;
}

void CSplashWindow::SetDisplayTime(int milliseconds)
{
    if (milliseconds > 0) {
        m_nDisplayTime = milliseconds;
        m_timer->start(milliseconds);
    } else {
        m_nDisplayTime = 0;
        Close();
    }
}

bool CSplashWindow::IsTimerRunning() const
{
    return m_timer->isActive();
}

void CSplashWindow::Close()
{
    m_timer->stop();
    StopWatchingInput();
    hide();
    if (m_bDeleteOnClose)
        deleteLater();
}

void CSplashWindow::StopWatchingInput()
{
    if (m_watchingInput) {
        qApp->removeEventFilter(this);
        m_watchingInput = false;
    }
}

void CSplashWindow::SetTextLine(int line, const QString& text, QPoint position, QColor color)
{
    if (line < 0 || line >= static_cast<int>(m_lines.size()))
        return;
    m_lines[static_cast<std::size_t>(line)] = TextLine{text, position, color};
    update();
}

void CSplashWindow::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    m_picture.Draw(painter);
    for (const TextLine& line : m_lines) {
        if (line.text.isEmpty())
            continue;
        painter.setPen(line.color);
        const QRect box(line.position, QSize(width(), height()));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, line.text);
    }
}

// Any click or key while the splash is up closes it and goes no further.
bool CSplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_bCloseOnInput || !isVisible())
        return QWidget::eventFilter(watched, event);
    // Claiming the shortcut check keeps a shortcut from firing: the key press itself follows
    // and closes the splash.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (IsInputEvent(event->type())) {
        Close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
