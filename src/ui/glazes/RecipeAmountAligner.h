#pragma once

// Keeps the amounts of recipe lines in one column whatever the font. A recipe line pads its
// amount with two blanks for every digit it lacks, which lines the amounts up when a blank is
// half as wide as a digit, as in most proportional fonts; in other fonts (fixed-pitch ones above
// all) the aligner narrows or widens the padding blanks after the tab to that width. Only the
// drawing changes: the text keeps its blanks.

#include <QSyntaxHighlighter>

class CRecipeAmountAligner : public QSyntaxHighlighter {
public:
    explicit CRecipeAmountAligner(QTextDocument* document);

    // Measures the font of the field again (after its font changed) and redraws every line.
    void SetFont(const QFont& font);

protected:
    void highlightBlock(const QString& text) override;

private:
    qreal m_spacing = 0.0; // added to each padding blank
};
