#pragma once
// Basic values of the dialog library: rectangles, points, keys, responses, user data.
#include "GSRoot/Definitions.hpp"

namespace DG {

// Pixel rectangle; right and bottom are exclusive (width = right - left).
struct Rect {
    Int16 left = 0;
    Int16 top = 0;
    Int16 right = 0;
    Int16 bottom = 0;

    Rect() = default;
    Rect(Int16 l, Int16 t, Int16 r, Int16 b) : left(l), top(t), right(r), bottom(b) {}
    static Rect FromXYWH(Int16 x, Int16 y, Int16 w, Int16 h)
    {
        return Rect(x, y, static_cast<Int16>(x + w), static_cast<Int16>(y + h));
    }
    Int16 GetLeft() const { return left; }
    Int16 GetTop() const { return top; }
    Int16 GetRight() const { return right; }
    Int16 GetBottom() const { return bottom; }
    Int16 GetWidth() const { return static_cast<Int16>(right - left); }
    Int16 GetHeight() const { return static_cast<Int16>(bottom - top); }
    bool operator==(const Rect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

struct Point {
    Int16 x = 0;
    Int16 y = 0;
    Point() = default;
    Point(Int16 x, Int16 y) : x(x), y(y) {}
    Int16 GetX() const { return x; }
    Int16 GetY() const { return y; }
};

// The value a list row or pop-up entry carries for its owner.
using DGUserData = GS::Int64;

// How a modal dialog ended: Invoke returns it.
enum ModalResponse : Int32 { Accept = 1, Cancel = 2 };

// Key codes of hot keys (negative: special keys) and their modifiers.
namespace Key {
enum Special : Int16 {
    Escape = -5,
    Enter = -6,
    Tab = -7,
    Back = -10,
    Delete = -11,
    Up = -12,
    Down = -13,
    Left = -14,
    Right = -15
};
enum Modifier : Int32 { NoModifier = 0, Command = 1, Option = 2, Shift = 4 };
}  // namespace Key

// Alert kinds of DGAlert.
enum AlertKind : Int16 { DG_ERROR = -1, DG_WARNING = -2, DG_INFORMATION = -3 };

// Text alignment of static texts, tab fields and header items.
enum Justification : Int32 { DG_IS_LEFT = 0, DG_IS_CENTER = 1, DG_IS_RIGHT = 2 };

// Character range of a text edit (caret when start == end), counted in UTF-16 units.
struct CharRange {
    Int32 start = 0;
    Int32 end = 0;
    CharRange() = default;
    CharRange(Int32 s, Int32 e) : start(s), end(e) {}
};

}  // namespace DG
