#include "framework/PrintPreviewDlg.h"

#include "framework/PixelRatio.h"
#include "framework/PrintSetup.h"
#include "support/Services.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <map>

namespace {

constexpr int kGap = 16;   // around and between the sheets, in screen pixels
constexpr int kShadow = 4; // the sheets' shadow, down and to the right
constexpr double kZoomSteps[CPrintPreviewDlg::kMaxZoom + 1] = {1.0, 2.0, 3.5};
const QColor kDesk(128, 128, 128);
const QColor kShadowColor(64, 64, 64);

} // namespace

// The grey desk with the sheets shown; each sheet is drawn once for its size and the pixel ratio
// of what it is painted on, and kept while it is shown.
class CPreviewPagesWidget : public QWidget {
public:
    explicit CPreviewPagesWidget(CPrintPreviewDlg& dialog)
        : QWidget(nullptr), m_dialog(dialog)
    {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The size of one sheet on the screen, for the room the scroll area shows.
    QSizeF SheetSize(const QSize& room) const
    {
        const QRectF paper = m_dialog.m_printer.paperRect(QPrinter::DevicePixel);
        if (paper.isEmpty())
            return QSizeF();
        const int across = m_dialog.ShownPageCount();
        const double fitX = (room.width() - kGap * (across + 1) - kShadow * across) / (across * paper.width());
        const double fitY = (room.height() - 2 * kGap - kShadow) / paper.height();
        const double scale = std::max(0.01, std::min(fitX, fitY)) * kZoomSteps[m_dialog.m_zoom];
        return paper.size() * scale;
    }

    // Room for the sheets when they are larger than the window (zoomed in).
    void UpdateMinimumSize(const QSize& room)
    {
        if (m_dialog.m_zoom == 0) {
            setMinimumSize(0, 0);
            return;
        }
        const QSizeF sheet = SheetSize(room);
        setMinimumSize(static_cast<int>(sheet.width()) + 2 * kGap + kShadow,
                       static_cast<int>(sheet.height()) + 2 * kGap + kShadow);
    }

    void Forget() { m_sheets.clear(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kDesk);
        const int across = m_dialog.ShownPageCount();
        const QSizeF size = SheetSize(m_dialog.m_scroll->maximumViewportSize());
        if (across == 0 || size.isEmpty())
            return;
        const QSize sheet = size.toSize();
        const qreal ratio = PixelRatioOf(painter);
        if (sheet != m_sheetSize || ratio != m_sheetRatio) {
            m_sheets.clear();
            m_sheetSize = sheet;
            m_sheetRatio = ratio;
        }
        // Only the sheets shown are kept.
        const int first = m_dialog.m_firstPage;
        std::erase_if(m_sheets, [&](const auto& kept) { return kept.first < first || kept.first >= first + across; });
        const int total = across * sheet.width() + (across - 1) * (kGap + kShadow);
        int x = std::max(kGap, (width() - total - kShadow) / 2);
        const int y = std::max(kGap, (height() - sheet.height() - kShadow) / 2);
        for (int page = first; page < first + across; ++page) {
            const QRect place(QPoint(x, y), sheet);
            painter.fillRect(place.translated(kShadow, kShadow), kShadowColor);
            painter.drawImage(place.topLeft(), Sheet(page));
            x += sheet.width() + kGap + kShadow;
        }
    }

    void wheelEvent(QWheelEvent* event) override
    {
        // Zoomed in, the wheel scrolls the sheet; otherwise it turns the pages.
        if (m_dialog.m_zoom > 0) {
            event->ignore();
            return;
        }
        m_wheel += event->angleDelta().y();
        for (; m_wheel <= -120; m_wheel += 120)
            m_dialog.NextPage();
        for (; m_wheel >= 120; m_wheel -= 120)
            m_dialog.PrevPage();
        event->accept();
    }

private:
    const QImage& Sheet(int page)
    {
        auto found = m_sheets.find(page);
        if (found != m_sheets.end())
            return found->second;
        QImage image(m_sheetSize * m_sheetRatio, QImage::Format_RGB32);
        image.setDevicePixelRatio(m_sheetRatio);
        QPainter painter(&image);
        m_dialog.DrawPaper(painter, QRectF(QPointF(0, 0), QSizeF(m_sheetSize)), page);
        painter.end();
        return m_sheets.emplace(page, std::move(image)).first->second;
    }

    CPrintPreviewDlg& m_dialog;
    std::map<int, QImage> m_sheets;
    QSize m_sheetSize;
    qreal m_sheetRatio = 1.0;
    int m_wheel = 0;
};

CPrintPreviewDlg::CPrintPreviewDlg(QPrinter& printer, CPreviewContent& content, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_content(content)
{
    setWindowTitle(tr("Print Preview"));
    setSizeGripEnabled(true);
    {
        CBusyScope busy;
        m_pageCount = std::max(0, content.LayOut(printer));
    }

    auto* buttons = new QHBoxLayout;
    QPushButton* print = AddButton(tr("&Print..."), "print");
    m_next = AddButton(tr("&Next Page"), "next");
    m_prev = AddButton(tr("Pre&v Page"), "prev");
    m_twoPage = AddButton(tr("&Two Page"), "twoPage");
    m_zoomIn = AddButton(tr("Zoom &In"), "zoomIn");
    m_zoomOut = AddButton(tr("Zoom &Out"), "zoomOut");
    QPushButton* close = AddButton(tr("&Close"), "close");
    for (QPushButton* button : {print, m_next, m_prev, m_twoPage, m_zoomIn, m_zoomOut, close})
        buttons->addWidget(button);
    buttons->addStretch();
    connect(print, &QPushButton::clicked, this, [this] { done(PrintRequested); });
    connect(m_next, &QPushButton::clicked, this, &CPrintPreviewDlg::NextPage);
    connect(m_prev, &QPushButton::clicked, this, &CPrintPreviewDlg::PrevPage);
    connect(m_twoPage, &QPushButton::clicked, this, &CPrintPreviewDlg::ToggleTwoPageView);
    connect(m_zoomIn, &QPushButton::clicked, this, &CPrintPreviewDlg::ZoomIn);
    connect(m_zoomOut, &QPushButton::clicked, this, &CPrintPreviewDlg::ZoomOut);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    m_pages = new CPreviewPagesWidget(*this);
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("pages"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidget(m_pages);
    QPalette desk = m_scroll->palette();
    desk.setColor(QPalette::Window, kDesk);
    m_scroll->setPalette(desk);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_status);

    const QWidget* frame = parent ? parent->window() : nullptr;
    layout->activate();
    PlaceOnScreen(frame ? frame->size().expandedTo(QSize(640, 560)) : QSize(900, 800), frame);
    print->setFocus();
    UpdateControls();
}

CPrintPreviewDlg::~CPrintPreviewDlg() = default;

// Over the main window's centre, as a dialog stands, and whole inside the screen's available
// area (the screen less its task bars and panels), the size cut to fit it with a frame around as
// the main window wears. Standing at its own place, the window is not moved by the showing.
void CPrintPreviewDlg::PlaceOnScreen(const QSize& wanted, const QWidget* mainWindow)
{
    const QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        resize(wanted);
        return;
    }
    const bool framed = mainWindow && mainWindow->isVisible();
    const QRect area = screen->availableGeometry();
    QMargins frame;
    if (framed) {
        const QRect inner = mainWindow->geometry();
        const QRect outer = mainWindow->frameGeometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    resize(wanted.boundedTo(area.size().shrunkBy(frame)));
    QRect outer(QPoint(0, 0), size().grownBy(frame));
    outer.moveCenter(framed ? mainWindow->geometry().center() : area.center());
    const auto inside = [](int start, int length, int low, int extent) {
        return std::max(low, std::min(start, low + extent - length));
    };
    move(inside(outer.left(), outer.width(), area.left(), area.width()),
         inside(outer.top(), outer.height(), area.top(), area.height()));
}

QPushButton* CPrintPreviewDlg::AddButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

int CPrintPreviewDlg::ShownPageCount() const
{
    if (m_pageCount == 0)
        return 0;
    return m_twoPages && m_zoom == 0 && m_pageCount > 1 ? 2 : 1;
}

QString CPrintPreviewDlg::StatusText() const
{
    const int shown = ShownPageCount();
    if (shown == 0)
        return tr("No pages to preview");
    if (shown == 1)
        return tr("Page %1 of %2").arg(m_firstPage).arg(m_pageCount);
    return tr("Pages %1-%2 of %3").arg(m_firstPage).arg(m_firstPage + 1).arg(m_pageCount);
}

void CPrintPreviewDlg::DrawPaper(QPainter& painter, const QRectF& paper, int page)
{
    const QRectF sheet = m_printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = m_printer.pageRect(QPrinter::DevicePixel);
    painter.save();
    painter.fillRect(paper, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    painter.scale(paper.width() / sheet.width(), paper.height() / sheet.height());
    painter.translate(printable.topLeft() - sheet.topLeft());
    ++m_pagesDrawn;
    m_content.DrawPage(painter, page);
    painter.restore();
}

void CPrintPreviewDlg::ShowFrom(int first)
{
    const int last = std::max(1, m_pageCount - ShownPageCount() + 1);
    m_firstPage = std::clamp(first, 1, last);
    UpdateControls();
}

void CPrintPreviewDlg::NextPage()
{
    ShowFrom(m_firstPage + 1);
}

void CPrintPreviewDlg::PrevPage()
{
    ShowFrom(m_firstPage - 1);
}

void CPrintPreviewDlg::ToggleTwoPageView()
{
    m_twoPages = !m_twoPages;
    ShowFrom(m_firstPage);
}

void CPrintPreviewDlg::ZoomIn()
{
    SetZoom(m_zoom + 1);
}

void CPrintPreviewDlg::ZoomOut()
{
    SetZoom(m_zoom - 1);
}

void CPrintPreviewDlg::SetZoom(int zoom)
{
    m_zoom = std::clamp(zoom, 0, kMaxZoom);
    ShowFrom(m_firstPage);
}

void CPrintPreviewDlg::UpdateControls()
{
    const int shown = ShownPageCount();
    m_next->setEnabled(m_firstPage + shown - 1 < m_pageCount);
    m_prev->setEnabled(m_firstPage > 1);
    m_twoPage->setText(m_twoPages ? tr("&One Page") : tr("&Two Page"));
    m_twoPage->setEnabled(m_zoom == 0 && m_pageCount > 1);
    m_zoomIn->setEnabled(m_zoom < kMaxZoom && shown > 0);
    m_zoomOut->setEnabled(m_zoom > 0);
    m_status->setText(StatusText());
    m_pages->UpdateMinimumSize(m_scroll->maximumViewportSize());
    m_pages->update();
}

void CPrintPreviewDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_pages->UpdateMinimumSize(m_scroll->maximumViewportSize());
}

void CPrintPreviewDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: NextPage(); break;
    case Qt::Key_PageUp: PrevPage(); break;
    default: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

bool RunPrintPreview(CPreviewContent& content, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(printer);
    CPrintPreviewDlg preview(printer, content, parent);
    return preview.exec() == CPrintPreviewDlg::PrintRequested;
}
