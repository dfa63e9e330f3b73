#include "support/DialogStyle.h"

#include "framework/Cp1252Fields.h"
#include "framework/MessageService.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "shell/Preferences.h"
#include "support/PrintSurface.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

// The stop interval lists use when they set no stops of their own, in dialog units.
constexpr int kDefaultTabUnits = 32;

// Rounds a * b / c to the nearest integer, as dialog-unit conversions do.
int ScaleRounded(int a, int b, int c)
{
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

// Disabled captions in the style's light grey would vanish on a grey or coloured background:
// they take a shade of the background itself, darker on a light one, lighter on a dark one.
QColor DisabledTextFor(const QColor& back)
{
    const bool dark = qGray(back.rgb()) < 128;
    const auto shade = [dark](int c) { return dark ? c + (255 - c) / 2 : c * 11 / 20; };
    return QColor(shade(back.red()), shade(back.green()), shade(back.blue()));
}

int AverageLetterWidth(const QFont& font)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    return std::max(1, ScaleRounded(metrics.horizontalAdvance(letters), 1, static_cast<int>(letters.size())));
}

} // namespace

QColor ToQColor(const CColor& color)
{
    return QColor(color.r, color.g, color.b);
}

void ShowDialogHelp(unsigned helpId)
{
    if (g_pApp) {
        g_pApp->ShowHelp(helpId);
        return;
    }
    if (CMessageService* service = GetMessageService())
        service->ShowHelp(HelpRequest::Context, helpId);
}

QFont EditBoxFont(const QFont& fallback)
{
    return CAppContext::IsActive() ? QFontFromLogFont(g_prefs.edboxfont) : fallback;
}

CDialogUnits::CDialogUnits(const QFont& font)
    : m_baseX(AverageLetterWidth(font)), m_baseY(std::max(1, QFontMetrics(font).height()))
{
}

int CDialogUnits::X(int units) const
{
    return ScaleRounded(units, m_baseX, 4);
}

int CDialogUnits::Y(int units) const
{
    return ScaleRounded(units, m_baseY, 8);
}

QRect CDialogUnits::Rect(int x, int y, int width, int height) const
{
    return QRect(X(x), Y(y), X(width), Y(height));
}

CStyledDialog::CStyledDialog(QWidget* parent, unsigned help)
    : QDialog(parent), helpId(help), backgroundColor(GetNamedColor("dlg_misc_bkg"))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

// F1 reaches the dialog from whichever control has the focus, since none of them uses it.
void CStyledDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::HelpContents)) {
        OnHelp();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CStyledDialog::InitDialog()
{
    if (m_initialized)
        return;
    m_initialized = true;
    OnInitDialog();
    // Whatever is typed into a dialog ends up in the program's Windows-1252 texts.
    KeepFieldsInCp1252(this);
    ApplyBackground();
    KeepEnterFromClosing();
}

void CStyledDialog::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        InitDialog();
        // Controls made while the dialog is being shown would stay hidden: Qt shows only the
        // children that existed before. Those the dialog hid on purpose stay hidden.
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
                child->show();
        }
    }
    QDialog::showEvent(event);
}

void CStyledDialog::PlaceDlu(QWidget* control, int x, int y, int width, int height) const
{
    control->setGeometry(CDialogUnits(font()).Rect(x, y, width, height));
}

void CStyledDialog::ResizeDlu(int width, int height)
{
    const CDialogUnits units(font());
    resize(units.X(width), units.Y(height));
}

QPushButton* CStyledDialog::AddButton(const QString& text, int id, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, this);
    SetControlId(button, id);
    PlaceDlu(button, x, y, width, height);
    return button;
}

QPushButton* CStyledDialog::AddHelpButton(int x, int y, int width, int height)
{
    QPushButton* button = AddButton(QStringLiteral("?"), kHelpButtonId, x, y, width, height);
    connect(button, &QPushButton::clicked, this, &CStyledDialog::OnHelp);
    return button;
}

void CStyledDialog::SetControlId(QWidget* control, int id)
{
    control->setObjectName(QString::number(id));
}

void CStyledDialog::OnHelp()
{
    ShowDialogHelp(helpId);
}

void CStyledDialog::ApplyBackground()
{
    QPalette colors = palette();
    const QColor back = ToQColor(backgroundColor);
    colors.setColor(QPalette::Window, back);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colors.setColor(QPalette::Disabled, role, DisabledTextFor(back));
    setPalette(colors);
    setAutoFillBackground(true);
}

// Enter must not end the dialog: no button takes part in the default-button logic, so Enter in
// a field does nothing and OK or Cancel are chosen on purpose.
void CStyledDialog::KeepEnterFromClosing()
{
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

int CTabStopDelegate::NextStop(int x) const
{
    for (int stop : m_stops) {
        if (stop > x)
            return stop;
    }
    int last = m_stops.empty() ? 0 : m_stops.back();
    int step = m_stops.size() >= 2 ? last - m_stops[m_stops.size() - 2] : last;
    if (step <= 0)
        step = 1;
    while (last <= x)
        last += step;
    return last;
}

void CTabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QStringList fields = opt.text.split(QLatin1Char('\t'));
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    painter->save();
    const bool selected = (opt.state & QStyle::State_Selected) != 0;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    const QFontMetrics metrics(opt.font);
    int x = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            x = NextStop(x);
        const QRect fieldRect(textRect.left() + x, textRect.top(), std::max(0, textRect.width() - x),
                              textRect.height());
        painter->drawText(fieldRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fields[i]);
        x += metrics.horizontalAdvance(fields[i]);
    }
    painter->restore();
}

// As wide as the row paints itself, so that a list shows a horizontal scroll bar only for rows
// that do not fit.
QSize CTabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStringList fields = opt.text.split(QLatin1Char('\t'));
    const QFontMetrics metrics(opt.font);
    int x = 0;
    for (qsizetype i = 0; i < fields.size(); ++i)
        x = (i > 0 ? NextStop(x) : 0) + metrics.horizontalAdvance(fields[i]);
    opt.text = QStringLiteral(" ");
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), widget);
    size.setWidth(size.width() - metrics.horizontalAdvance(opt.text) + x);
    return size;
}

std::vector<int> TabStopsFromDlu(const QFont& font, const std::vector<int>& units)
{
    const CDialogUnits converter(font);
    std::vector<int> stops;
    for (int unit : units.empty() ? std::vector<int>{kDefaultTabUnits} : units)
        stops.push_back(converter.X(unit));
    return stops;
}
