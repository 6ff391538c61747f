#include "extras/align/snapmath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace align {

namespace {

constexpr double kEpsilon = 1e-6;

// The moving lines on one axis: low edge, centre, high edge, as far as they move.
int movingLines(double low, double size, bool whole, bool lowEdge, bool highEdge,
                double (&lines)[3]) {
    int n = 0;
    if (whole || lowEdge)
        lines[n++] = low;
    if (whole)
        lines[n++] = low + size / 2;
    if (whole || highEdge)
        lines[n++] = low + size;
    return n;
}

// The smallest whole shift within the threshold that puts a moving line on a
// target, and the targets met after it.
void snapAxis(const double* moving, int count, const std::vector<double>& targets, double threshold,
              double& delta, std::vector<double>& met) {
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i)
        for (double t : targets) {
            const double d = t - moving[i];
            if (std::abs(d) <= threshold + kEpsilon && std::abs(d) < std::abs(best) && isWhole(d))
                best = d;
        }
    delta = std::isinf(best) ? 0.0 : roundHalfUp(best);
    for (double t : targets)
        for (int i = 0; i < count; ++i)
            if (std::abs(moving[i] + delta - t) < kEpsilon) {
                if (std::find(met.begin(), met.end(), t) == met.end())
                    met.push_back(t);
                break;
            }
}

bool overlaps(double lowA, double highA, double lowB, double highB) {
    return lowA < highB && lowB < highA;
}

} // namespace

bool isWhole(double pixels) {
    return std::abs(pixels - std::round(pixels)) < kEpsilon;
}

double roundHalfUp(double pixels) {
    return std::floor(pixels + 0.5);
}

SnapTargets snapTargets(std::span<const QRectF> others) {
    SnapTargets t;
    t.xs = {0, kScreenWidth / 2, kScreenWidth};
    t.ys = {0, kScreenHeight / 2, kScreenHeight};
    t.xs.reserve(3 + 3 * others.size());
    t.ys.reserve(3 + 3 * others.size());
    for (const QRectF& r : others) {
        t.xs.insert(t.xs.end(), {r.left(), r.left() + r.width() / 2, r.left() + r.width()});
        t.ys.insert(t.ys.end(), {r.top(), r.top() + r.height() / 2, r.top() + r.height()});
    }
    return t;
}

SnapResult snap(const QRectF& moving, int edges, const SnapTargets& targets, double threshold) {
    SnapResult result;
    const bool whole = edges == NoEdge;
    double lines[3];
    int n = movingLines(moving.left(), moving.width(), whole, edges & LeftEdge, edges & RightEdge,
                        lines);
    snapAxis(lines, n, targets.xs, threshold, result.dx, result.xLines);
    n = movingLines(moving.top(), moving.height(), whole, edges & TopEdge, edges & BottomEdge,
                    lines);
    snapAxis(lines, n, targets.ys, threshold, result.dy, result.yLines);
    return result;
}

std::vector<Gap> gaps(const QRectF& m, std::span<const QRectF> others) {
    struct Nearest {
        const QRectF* rect = nullptr;
        double edge = 0;
    };
    Nearest near[4];
    for (const QRectF& o : others) {
        const bool facesX = overlaps(o.top(), o.bottom(), m.top(), m.bottom());
        const bool facesY = overlaps(o.left(), o.right(), m.left(), m.right());
        const auto closer = [&](Nearest& n, double edge, bool better) {
            if (!n.rect || better) {
                n.rect = &o;
                n.edge = edge;
            }
        };
        if (facesX && o.right() <= m.left() + kEpsilon)
            closer(near[Gap::Left], o.right(),
                   near[Gap::Left].rect && o.right() > near[Gap::Left].edge);
        if (facesX && o.left() >= m.right() - kEpsilon)
            closer(near[Gap::Right], o.left(),
                   near[Gap::Right].rect && o.left() < near[Gap::Right].edge);
        if (facesY && o.bottom() <= m.top() + kEpsilon)
            closer(near[Gap::Top], o.bottom(),
                   near[Gap::Top].rect && o.bottom() > near[Gap::Top].edge);
        if (facesY && o.top() >= m.bottom() - kEpsilon)
            closer(near[Gap::Bottom], o.top(),
                   near[Gap::Bottom].rect && o.top() < near[Gap::Bottom].edge);
    }

    std::vector<Gap> result;
    const auto add = [&](Gap::Side side, double screenEdge, double to, bool screenReached) {
        const Nearest& n = near[side];
        const bool horizontal = side == Gap::Left || side == Gap::Right;
        Gap g;
        g.side = side;
        g.to = to;
        if (n.rect) {
            g.from = n.edge;
            g.across =
                horizontal
                    ? (std::max(n.rect->top(), m.top()) + std::min(n.rect->bottom(), m.bottom())) /
                          2
                    : (std::max(n.rect->left(), m.left()) + std::min(n.rect->right(), m.right())) /
                          2;
        } else if (screenReached) {
            g.from = screenEdge;
            g.toScreen = true;
            g.across = horizontal ? m.top() + m.height() / 2 : m.left() + m.width() / 2;
        } else {
            return;
        }
        result.push_back(g);
    };
    add(Gap::Left, 0, m.left(), m.left() >= 0);
    add(Gap::Right, kScreenWidth, m.right(), m.right() <= kScreenWidth);
    add(Gap::Top, 0, m.top(), m.top() >= 0);
    add(Gap::Bottom, kScreenHeight, m.bottom(), m.bottom() <= kScreenHeight);

    const auto markEqual = [&](Gap::Side a, Gap::Side b) {
        Gap* ga = nullptr;
        Gap* gb = nullptr;
        for (Gap& g : result) {
            if (g.side == a)
                ga = &g;
            if (g.side == b)
                gb = &g;
        }
        if (ga && gb && std::abs(ga->size() - gb->size()) < kEpsilon)
            ga->equal = gb->equal = true;
    };
    markEqual(Gap::Left, Gap::Right);
    markEqual(Gap::Top, Gap::Bottom);
    return result;
}

std::vector<QRectF> aligned(std::span<const QRectF> rects, std::size_t anchor, Alignment how) {
    std::vector<QRectF> out(rects.begin(), rects.end());
    if (anchor >= out.size())
        return out;
    const QRectF a = rects[anchor];
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i == anchor)
            continue;
        QRectF& r = out[i];
        switch (how) {
        case Alignment::Left:
            r.moveLeft(roundHalfUp(a.left()));
            break;
        case Alignment::Right:
            r.moveLeft(roundHalfUp(a.right() - r.width()));
            break;
        case Alignment::CentresX:
            r.moveLeft(roundHalfUp(a.left() + (a.width() - r.width()) / 2));
            break;
        case Alignment::Top:
            r.moveTop(roundHalfUp(a.top()));
            break;
        case Alignment::Bottom:
            r.moveTop(roundHalfUp(a.bottom() - r.height()));
            break;
        case Alignment::CentresY:
            r.moveTop(roundHalfUp(a.top() + (a.height() - r.height()) / 2));
            break;
        case Alignment::SameWidth:
            r.setWidth(std::max(0.0, roundHalfUp(a.width())));
            break;
        case Alignment::SameHeight:
            r.setHeight(std::max(0.0, roundHalfUp(a.height())));
            break;
        }
    }
    return out;
}

std::vector<QRectF> distributed(std::span<const QRectF> rects, Axis axis) {
    std::vector<QRectF> out(rects.begin(), rects.end());
    const std::size_t n = out.size();
    if (n < 3)
        return out;
    const bool h = axis == Axis::Horizontal;
    const auto low = [h](const QRectF& r) { return h ? r.left() : r.top(); };
    const auto size = [h](const QRectF& r) { return h ? r.width() : r.height(); };

    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return low(rects[a]) + size(rects[a]) / 2 < low(rects[b]) + size(rects[b]) / 2;
    });

    // In whole pixels: from the first one's far edge to the last one's near edge.
    const QRectF& first = rects[order.front()];
    const double start = roundHalfUp(low(first) + size(first));
    const double end = roundHalfUp(low(rects[order.back()]));
    double inner = 0;
    for (std::size_t k = 1; k + 1 < n; ++k)
        inner += roundHalfUp(size(rects[order[k]]));
    const long long total = std::llround(end - start - inner);
    const long long count = static_cast<long long>(n - 1);
    long long base = total / count;
    if (total % count != 0 && total < 0)
        --base; // rounded towards minus infinity: the remainder is never negative
    const long long remainder = total - base * count;

    double position = start;
    for (std::size_t k = 1; k + 1 < n; ++k) {
        position += double(base + (static_cast<long long>(k - 1) < remainder ? 1 : 0));
        QRectF& r = out[order[k]];
        if (h)
            r.moveLeft(position);
        else
            r.moveTop(position);
        position += roundHalfUp(size(rects[order[k]]));
    }
    return out;
}

} // namespace align
