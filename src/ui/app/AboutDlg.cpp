#include "app/AboutDlg.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

constexpr unsigned kAboutHelpId = 320;
constexpr int kIdOk = 1;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : CStyledDialog(parent, kAboutHelpId)
{
    setWindowTitle(QStringLiteral("About This Program"));
    ResizeDlu(248, 158);
    auto* icon = new QLabel(this);
    icon->setPixmap(DrawProgramIcon(32));
    PlaceDlu(icon, 11, 17, 20, 20);
    m_version = new QLabel(QStringLiteral("Oxidarium version 2.12"), this);
    PlaceDlu(m_version, 40, 17, 190, 10);
    m_helpText = new QLabel(QStringLiteral("Oxidarium has context-sensitive help !  Press F1 at any time for help "
                                           "with the current window, dialog box, or message."),
                            this);
    m_helpText->setWordWrap(true);
    m_helpText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceDlu(m_helpText, 40, 40, 190, 40);
    m_okay = AddButton(QStringLiteral("Okay"), kIdOk, 99, 130, 50, 14);
    connect(m_okay, &QPushButton::clicked, this, &CAboutDlg::accept);
    setFixedSize(size());
}

QPixmap DrawProgramIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A bowl: a celadon glaze running into a darker pooling at the foot.
    QPainterPath bowl;
    bowl.moveTo(0.08 * s, 0.35 * s);
    bowl.cubicTo(0.10 * s, 0.80 * s, 0.90 * s, 0.80 * s, 0.92 * s, 0.35 * s);
    bowl.closeSubpath();
    QLinearGradient glaze(0, 0.35 * s, 0, 0.8 * s);
    glaze.setColorAt(0.0, QColor(142, 196, 170));
    glaze.setColorAt(1.0, QColor(46, 104, 92));
    painter.setPen(QPen(QColor(40, 60, 55), std::max(1.0, s / 32)));
    painter.setBrush(glaze);
    painter.drawPath(bowl);
    painter.setBrush(QColor(200, 228, 214));
    painter.drawEllipse(QRectF(0.08 * s, 0.27 * s, 0.84 * s, 0.16 * s));
    painter.setBrush(QColor(150, 110, 80));
    painter.drawRect(QRectF(0.38 * s, 0.76 * s, 0.24 * s, 0.08 * s));
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(DrawProgramIcon(size));
    return icon;
}
