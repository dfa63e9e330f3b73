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

#include <string>
#include <vector>

struct CChartPoint3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

class CChartView3D {
public:
    // The view of a box of sides wx, wy, wz (relative) by the definition's ChartSetView: mode bit 1
    // perspective, bits 2 and 4 cage flipping; eye 0 (far) to 100 (near).
    CChartView3D(const CChartDefinition& def, double wx, double wy, double wz);

    // Scales and places the picture of the box to fill the region, centred.
    void Fit(const CChartRect& region);
    // Chart units of a point of the unit cube.
    CChartPointD Project(const CChartPoint3D& p) const;
    // Larger is farther from the eye.
    double Depth(const CChartPoint3D& p) const;
    // Whether a face of the box whose outward normal is n is turned toward the eye.
    bool Faces(const CChartPoint3D& n) const;
    // The picture of the whole box.
    CChartRect Bounds() const;
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
};

// The three walls behind the data (the floor among them): light panels, or their outlines alone
// (thin), with grid lines at the ticks of the other axes (gridAcross: lines at the x and z
// ticks; gridUp: lines at the y ticks).
void DrawChartCage(CChart& chart, const CChartView3D& view, const CChartAxis3D axes[3], bool thin, bool gridAcross,
                   bool gridUp);
// An axis drawn along the box edge lowest in the picture (the vertical one along its left or
// right edge), with its ticks and labels outside the box.
void DrawChartAxis3D(CChart& chart, const CChartView3D& view, const CChartAxis3D& axis);
// The room the labels of the axes need round the box.
double ChartAxisRoom3D(const CChart& chart, const CChartAxis3D axes[3]);
