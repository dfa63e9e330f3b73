#pragma once

// The painted parts of the periodic-table window: one cell per element, the large cell and the
// information area of the current element, and the plain-coloured label button.
//
// Every part reads the element it shows from the working element table (GetElementTable) each
// time it paints, so a change to the table shows at the next repaint.

#include "elements/ElementRecord.h"
#include "shell/NamedColors.h"

#include <QAbstractButton>
#include <QWidget>

#include <string>
#include <vector>

// The word the information area gives a role: "Acid", "Alkali" or "Neutral" (plus
// " (amphoteric)" when 0x80 is set) for the three oxide groups, tested acid first; else
// "Volatile", "Not expected in ceramic materials" or "Unknown".
std::string InfoAreaRoleWord(std::int32_t role);

// The lines of the information area for an element: its name, the oxide line, the role line
// and, only when the element forms a different oxide in reduction, the reduction line.
std::vector<std::string> InfoAreaLines(const CElementRecord& element);

// The colour a cell of the role is filled with (its colour key of the named colours).
CColor RoleFillColor(std::int32_t role);

// One element of the table: a button filled in its role colour, drawn sunken while selected.
class CElementCellButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CElementCellButton(int z, QWidget* parent = nullptr);

    int Element() const { return m_z; }
    // Stores the selected state (0 or 1) and repaints at once.
    void PaintCell(int state);
    int State() const { return m_state; }
    // The colour the cell is filled with now.
    CColor FillColor() const;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_z;
    int m_state = 0;
};

// The large cell of the current element: symbol, atomic weight and element number.
class CElementValueButton : public QWidget {
    Q_OBJECT

public:
    explicit CElementValueButton(QWidget* parent = nullptr);

    void SetElement(int z) { m_z = z; }
    int Element() const { return m_z; }
    // Repaints at once.
    void PaintCell();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_z = 1;
};

// The information area of the current element.
class CElementInfoArea : public QWidget {
    Q_OBJECT

public:
    explicit CElementInfoArea(QWidget* parent = nullptr);

    void SetElement(int z) { m_z = z; }
    int Element() const { return m_z; }
    // Repaints at once.
    void Paint();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_z = 1;
};

// A push button painted in a face colour with a caption, or, without a caption, a plain patch
// of the background colour.
class CLabelButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CLabelButton(QWidget* parent = nullptr);

    void Setup(const CColor& face, const CColor& background, bool hasCaption, const std::string& caption);

    const std::string& Caption() const { return m_caption; }
    CColor FaceColor() const { return m_face; }
    CColor BackgroundColor() const { return m_background; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_caption;
    bool m_hasCaption = true;
    CColor m_face{192, 192, 192};
    CColor m_background{192, 192, 192};
};
