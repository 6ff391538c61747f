// The arithmetic of lining elements up by eye, over rectangles in device pixels
// (x to the right, y down, 0, 0 at the screen's top-left corner): snapping a
// moving rectangle to the lines of the others and of the screen, the gaps to
// the nearest neighbours, aligning to one rectangle and distributing evenly.
// Every result that moves a rectangle moves it by whole device pixels.
#pragma once

#include <QRectF>
#include <span>
#include <vector>

namespace align {

inline constexpr double kScreenWidth = 240;
inline constexpr double kScreenHeight = 320;

// Whether a value in device pixels is a whole number of them.
bool isWhole(double pixels);
// The nearest whole number, halves rounded up (also below zero).
double roundHalfUp(double pixels);

// The lines a moving rectangle can snap to: the edges and centre lines of the
// given rectangles and of the screen.
struct SnapTargets {
    std::vector<double> xs; // vertical lines
    std::vector<double> ys; // horizontal lines
};
SnapTargets snapTargets(std::span<const QRectF> others);

// Which edges of a rectangle move; none means the whole rectangle moves.
enum Edge { NoEdge = 0, LeftEdge = 1, RightEdge = 2, TopEdge = 4, BottomEdge = 8 };

struct SnapResult {
    double dx = 0; // whole device pixels added to the moving lines
    double dy = 0;
    std::vector<double> xLines; // target lines that a moving line meets after the shift
    std::vector<double> yLines;
};

// Snaps the moving lines of `moving` (its edges and centre lines for a move,
// else the flagged edges) to the nearest target line within `threshold` device
// pixels, on each axis on its own. A shift that is no whole number of device
// pixels is never taken. With a threshold of 0 nothing moves, and the result
// lists the lines already met.
SnapResult snap(const QRectF& moving, int edges, const SnapTargets& targets, double threshold);

// A gap from the moving rectangle to its nearest neighbour on one side, or to
// the screen's edge when no neighbour faces it there.
struct Gap {
    enum Side { Left, Right, Top, Bottom };
    Side side = Left;
    double from = 0;   // the neighbour's (or the screen's) edge
    double to = 0;     // the moving rectangle's edge
    double across = 0; // where the dimension line runs, on the other axis
    bool toScreen = false;
    bool equal = false; // the gap on the opposite side has the same size
    double size() const { return to - from < 0 ? from - to : to - from; }
};
// The gaps on the four sides (a side without a neighbour and outside the screen has none).
std::vector<Gap> gaps(const QRectF& moving, std::span<const QRectF> others);

enum class Alignment { Left, Right, Top, Bottom, CentresX, CentresY, SameWidth, SameHeight };
enum class Axis { Horizontal, Vertical };

// The rectangles aligned to the one at `anchor`, which stays as it is. The
// others land on whole device pixels; sizes change only for the two "same" kinds.
std::vector<QRectF> aligned(std::span<const QRectF> rects, std::size_t anchor, Alignment how);

// The rectangles spread along the axis with equal gaps between neighbours (in
// the order of their centres); the first and the last stay. Gaps that do not
// divide evenly give their remainder pixel by pixel to the first gaps. Fewer
// than three rectangles stay as they are.
std::vector<QRectF> distributed(std::span<const QRectF> rects, Axis axis);

} // namespace align
