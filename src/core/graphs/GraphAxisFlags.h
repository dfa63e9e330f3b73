#pragma once

// The flag words the chart builders give ChartSetAxisX, ChartSetAxisY and ChartSetAxisZ (see
// graphs/Chart.h), and the tick rule they share.

// Sides, turned labels and scales.
inline constexpr int kAxisSideFirst = 0x100;
inline constexpr int kAxisSideSecond = 0x200;
inline constexpr int kAxisVerticalLabels = 0x800;
inline constexpr int kAxisFixedScale = 0x1C;
inline constexpr int kAxisManual = 0x400 + kAxisFixedScale;
// Tick directions.
inline constexpr int kTicksIncreasing = 0x1000;
inline constexpr int kTicksDecreasing = 0x2000;

// The tick direction of an axis: `tickin` 0 puts the ticks inside the plot, 2 outside, anything
// else across the axis (no flag); inside is the increasing direction for an axis on its near
// side and the decreasing one on its far side.
inline int TickFlags(int tickin, bool farSide)
{
    if (tickin == 0)
        return farSide ? kTicksDecreasing : kTicksIncreasing;
    if (tickin == 2)
        return farSide ? kTicksIncreasing : kTicksDecreasing;
    return 0;
}
