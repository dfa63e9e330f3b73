#pragma once

// The 3-D view of the charts drawn in a box (true 3-D bars, 3-D points): the box's unit cube
// (x across, y up, z into the depth) seen from any rotation and elevation, with or without
// perspective, fitted into a region of the chart; and the cage behind the data with its grid and
// axis labels. Used only by the chart's own drawing files.
//
// Rotation turns the box about its vertical axis (positive: its right side comes forward),
// elevation lifts the eye above it (negative: below it). Every rotation and elevation gives a
// picture of positive size: no view collapses the box to a line.

#include "graphs/ChartDrawing.h"

#include <span>
#include <string>
#include <vector>

struct CChartPoint3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Something drawn at a fixed size beside a point of the box (a tick, a label): the point, and the
// thing's extent about the point's picture, in chart units.
struct CChartAttached3D {
    CChartPoint3D point;
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    double top = 0.0;
};

class CChartView3D {
public:
    // The view of a box of sides wx, wy, wz (relative) by the definition's ChartSetView: mode bit 1
    // perspective, bits 2 and 4 cage flipping; eye 0 (far) to 100 (near).
    CChartView3D(const CChartDefinition& def, double wx, double wy, double wz);

    // Scales and places the picture of the box to fill the region, centred.
    void Fit(const CChartRect& region) { Fit(region, {}); }
    // The same for the box with the things attached to it: as large as the region holds them
    // all, their picture centred.
    void Fit(const CChartRect& region, std::span<const CChartAttached3D> attached);
    // Chart units of a point of the unit cube.
    CChartPointD Project(const CChartPoint3D& p) const;
    // Larger is farther from the eye.
    double Depth(const CChartPoint3D& p) const;
    // Where the picture of the upright line through a picture point reaches the height y: in
    // perspective uprights lean toward the point below or above the box where they meet.
    double UprightX(const CChartPointD& at, double y) const;
    // Whether a face of the box whose outward normal is n is turned toward the eye.
    bool Faces(const CChartPoint3D& n) const;
    // The picture of the whole box.
    CChartRect Bounds() const;
    // Chart units to a unit of the box (before perspective).
    double Scale() const { return m_scale; }
    bool Flipping() const { return m_flip; }

private:
    // Box coordinates about its centre, turned to the eye: x right, y up, z away.
    CChartPoint3D Turn(const CChartPoint3D& p) const;
    CChartPointD Flat(const CChartPoint3D& p) const;

    double m_cosR = 1.0, m_sinR = 0.0, m_cosE = 1.0, m_sinE = 0.0;
    double m_wx = 1.0, m_wy = 1.0, m_wz = 1.0;
    bool m_perspective = false;
    bool m_flip = true;
    double m_eye = 0.0;
    double m_scale = 1.0;
    double m_offsetX = 0.0;
    double m_offsetY = 0.0;
};

// One axis of the box: its direction (0 x, 1 y, 2 z), its ticks as fractions 0..1 of the box and
// their labels (none to leave the axis unlabelled).
struct CChartAxis3D {
    int direction = 0;
    std::vector<double> ticks;
    std::vector<std::string> labels;
    bool farSide = false; // the vertical axis on the right of the picture
    // The labels as FitChartView3D set them to stand clear of each other: each broken into lines,
    // or (upright) turned to read upward; one shortened with "..." where it would take the room of
    // the box. Without them each label is one line.
    std::vector<std::vector<std::string>> lines;
    bool upright = false;
    // Labels too many to stand apart: only those marked are drawn (ChartNamesShown, or for a
    // scale's numbers ChartNumbersShown); none marked, all of them.
    std::vector<bool> shown;
    bool numbers = false; // the labels are the numbers of a scale

    bool Shows(std::size_t i) const { return i < labels.size() && (shown.empty() || (i < shown.size() && shown[i])); }
};

// The three walls behind the data (the floor among them): light panels, or their outlines alone
// (thin), with grid lines at the ticks of the other axes (gridAcross: lines at the x and z
// ticks; gridUp: lines at the y ticks).
void DrawChartCage(CChart& chart, const CChartView3D& view, const CChartAxis3D axes[3], bool thin, bool gridAcross,
                   bool gridUp);
// An axis drawn along the box edge lowest in the picture (the vertical one along its left or
// right edge), with its ticks and labels outside the box; a label that would come within a blank
// of a text drawn before it (another axis' label where the two meet at a corner) is left out.
void DrawChartAxis3D(CChart& chart, const CChartView3D& view, const CChartAxis3D& axis);
// Fits the view to the region with the axes' ticks and labels round the box: room is kept only
// where labels stand, as far as they reach. Labels side by side along an axis are broken into
// lines as wide as the room between their ticks, or turned upright when a word is wider (and
// then thinned to stand a blank apart); a label
// is shortened rather than the box: an upright one to a share of the region's height, one beside
// the box to a share of its width. Returns the share of its size the box keeps against what the
// region's height would give it: 1 where the height limits it, less in a narrow region (what
// stands in the box at a size that follows the chart's height, its markers, follows the box by it).
double FitChartView3D(const CChart& chart, CChartView3D& view, CChartAxis3D axes[3], const CChartRect& region);
