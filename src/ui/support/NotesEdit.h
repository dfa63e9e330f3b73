#pragma once

// The edit field of the notes boxes. Ctrl+W re-wraps the text to the width of the box: lines
// that continue a paragraph are joined to it and every line is wrapped at whitespace to as many
// characters as fit, so paragraphs separated by empty lines stay separate.

#include <QPlainTextEdit>

class CNotesEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    // The wrap width in characters stays within these bounds.
    static constexpr int kMinWrapWidth = 20;
    static constexpr int kMaxWrapWidth = 160;

    explicit CNotesEdit(QWidget* parent = nullptr);

    // The average character width in pixels that the wrap width is computed with; 0 (the
    // default) takes it from the font.
    void SetAverageCharWidth(int pixels) { m_averageCharWidth = pixels; }
    int AverageCharWidth() const;

    // Characters per line for the present box: the text area's width in average characters,
    // less 2, within 20 to 160.
    int WrapWidth() const;

    // Re-wraps the whole text (what Ctrl+W does). The caret goes to the end of the new text when
    // it stood at the end of the old one, else to the start. One undo step takes it back.
    void Rewrap();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_averageCharWidth = 0;
};
