#pragma once
#include <windows.h>

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int x_, int y_) : POINT{x_, y_} {}
    CPoint(POINT pt) : POINT(pt) {}
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
};

// RECT with right and bottom exclusive, as PtInRect treats them.
struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return CPoint(left, top); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
