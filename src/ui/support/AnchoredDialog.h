#pragma once

// A dialog the user can resize. It shows a size grip in the bottom-right corner, cannot become
// smaller than the size it had when it was initialised, and after every size change moves and
// stretches each registered control by two anchor points given in percent of the dialog's size:
// the control's top-left corner keeps its distance to the first point, its bottom-right corner
// its distance to the second.
//
// A derived dialog places its controls, calls InitLayout from its OnInitDialog and registers
// the controls with AddAnchor, using the points of LayoutAnchor.

#include "support/DialogStyle.h"

#include <QPointer>
#include <QSize>

#include <vector>

// An anchor point in percent of the dialog's width and height.
struct CAnchorPoint {
    int x;
    int y;
    constexpr bool operator==(const CAnchorPoint&) const = default;
};

// The ten anchor points, in this order everywhere.
inline constexpr CAnchorPoint LayoutAnchor[10] = {
    {100, 100}, // 0 bottom right
    {50, 100},  // 1 bottom centre
    {0, 100},   // 2 bottom left
    {100, 50},  // 3 middle right
    {50, 50},   // 4 centre
    {0, 50},    // 5 middle left
    {100, 0},   // 6 top right
    {50, 0},    // 7 top centre
    {0, 0},     // 8 top left
    {-1, -1},   // 9 none: as the second point, the control keeps its size and follows the first
};

enum LayoutAnchorIndex : int {
    AnchorBottomRight = 0,
    AnchorBottomCentre = 1,
    AnchorBottomLeft = 2,
    AnchorMiddleRight = 3,
    AnchorCentre = 4,
    AnchorMiddleLeft = 5,
    AnchorTopRight = 6,
    AnchorTopCentre = 7,
    AnchorTopLeft = 8,
    AnchorNone = 9,
};

class CAnchoredDialog : public CStyledDialog {
    Q_OBJECT

public:
    explicit CAnchoredDialog(QWidget* parent = nullptr, unsigned helpId = 0);

    // Remembers the present size as the smallest the dialog may take and turns on the grip.
    void InitLayout();
    bool IsLayoutInitialized() const { return m_layoutInitialized; }

    // Registers a child control of the dialog with its two anchor points (percent).
    void AddAnchor(QWidget* control, int topLeftX, int topLeftY, int bottomRightX, int bottomRightY);
    void AddAnchor(QWidget* control, int topLeft, int bottomRight = AnchorNone);

    // Moves every registered control for the present dialog size.
    void Layout();

    void ShowSizeGrip(bool show);
    bool IsSizeGripShown() const { return m_showGrip; }

    // Whether the initial size is the minimum (on by default). Turning it off releases the
    // minimum; turning it on again restores it once the layout is initialised.
    void SetMinimumSizeInForce(bool inForce);
    QSize InitialSize() const { return m_minimumSize; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct CAnchor {
        QPointer<QWidget> control;
        CAnchorPoint topLeft;
        QPoint topLeftOffset;
        CAnchorPoint bottomRight;
        QPoint bottomRightOffset;
    };

    void ApplyMinimumSize();

    std::vector<CAnchor> m_anchors;
    bool m_showGrip = true;
    bool m_minimumInForce = true;
    bool m_layoutInitialized = false;
    QSize m_minimumSize;
};
