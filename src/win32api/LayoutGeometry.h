// Plain geometry of the layout core: pixels, with rectangles shaped like the platform's RECT
// (right and bottom exclusive), so the arithmetic reads the same as the rules it follows.
#pragma once

namespace Win32API::VelvixForms {

struct ASize {
    int cx = 0;
    int cy = 0;
    bool operator==(const ASize&) const = default;
};

struct ARect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    ARect Translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const ARect&) const = default;
};

struct AMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const AMargins&) const = default;
};

}  // namespace Win32API::VelvixForms
