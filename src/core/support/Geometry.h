#pragma once

// Plain integer point and rectangle for the core (the UI converts to and from its own types).

struct CCorePoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const CCorePoint&, const CCorePoint&) = default;
};

// right and bottom lie just outside the rectangle, as in the UI's drawing coordinates.
struct CCoreRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const CCoreRect&, const CCoreRect&) = default;
};
