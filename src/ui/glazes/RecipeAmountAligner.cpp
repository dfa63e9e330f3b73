#include "glazes/RecipeAmountAligner.h"

#include <QFontMetricsF>

CRecipeAmountAligner::CRecipeAmountAligner(QTextDocument* document)
    : QSyntaxHighlighter(document)
{
}

void CRecipeAmountAligner::SetFont(const QFont& font)
{
    const QFontMetricsF metrics(font);
    m_spacing = metrics.horizontalAdvance(QLatin1Char('0')) / 2 - metrics.horizontalAdvance(QLatin1Char(' '));
    rehighlight();
}

void CRecipeAmountAligner::highlightBlock(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0 || m_spacing == 0.0)
        return;
    qsizetype end = tab + 1;
    while (end < text.size() && text[end] == QLatin1Char(' '))
        ++end;
    if (end == tab + 1)
        return;
    QTextCharFormat padding;
    padding.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    padding.setFontLetterSpacing(m_spacing);
    setFormat(static_cast<int>(tab + 1), static_cast<int>(end - tab - 1), padding);
}
