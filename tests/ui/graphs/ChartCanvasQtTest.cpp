#include "graphs/ChartCanvasQt.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

// Charts keep the measures of their texts; a chart of the default face measured after the
// application's font changed gets the new face's measures, not the old ones.
TEST(ChartCanvasQtTest, TextMeasuresFollowTheApplicationFont)
{
    const QFont original = QApplication::font();
    const CChartFont font; // family 0: the application's face
    const CChartMetrics& metrics = GetQtChartMetrics();
    const auto fresh = [&] { return QFontMetricsF(QFontFromChartFont(font)).horizontalAdvance(QStringLiteral("iiiiW")); };

    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    const double proportional = metrics.TextWidth(font, "iiiiW");
    EXPECT_DOUBLE_EQ(proportional, fresh());
    EXPECT_DOUBLE_EQ(metrics.TextWidth(font, "iiiiW"), proportional);

    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    const double fixed = metrics.TextWidth(font, "iiiiW");
    EXPECT_DOUBLE_EQ(fixed, fresh());
    EXPECT_NE(fixed, proportional);
    QApplication::setFont(original);
}

} // namespace
