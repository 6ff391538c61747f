#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace picgen {

namespace {

// The 16 colours of the classic palette.
constexpr std::array<QRgb, 16> kClassicPalette{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

namespace classic {
constexpr QRgb black = kClassicPalette[0];
constexpr QRgb maroon = kClassicPalette[1];
constexpr QRgb green = kClassicPalette[2];
constexpr QRgb navy = kClassicPalette[4];
constexpr QRgb teal = kClassicPalette[6];
constexpr QRgb silver = kClassicPalette[7];
constexpr QRgb grey = kClassicPalette[8];
constexpr QRgb red = kClassicPalette[9];
constexpr QRgb lime = kClassicPalette[10];
constexpr QRgb yellow = kClassicPalette[11];
constexpr QRgb blue = kClassicPalette[12];
constexpr QRgb aqua = kClassicPalette[14];
constexpr QRgb white = kClassicPalette[15];
} // namespace classic

QColor c(QRgb rgb) {
    return QColor::fromRgb(rgb);
}

QRgb nearestClassic(QRgb pixel) {
    QRgb best = kClassicPalette[0];
    int bestDistance = std::numeric_limits<int>::max();
    for (const QRgb candidate : kClassicPalette) {
        const int dr = qRed(pixel) - qRed(candidate);
        const int dg = qGreen(pixel) - qGreen(candidate);
        const int db = qBlue(pixel) - qBlue(candidate);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

// Gives the picture the look of a 16-colour icon: every pixel is either fully transparent
// or one of the 16 classic colours.
QImage toClassicIcon(const QImage& drawn) {
    QImage icon = drawn.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha < 128) {
                line[x] = 0;
                continue;
            }
            const QRgb straight = qRgb(qRed(line[x]) * 255 / alpha, qGreen(line[x]) * 255 / alpha,
                                       qBlue(line[x]) * 255 / alpha);
            line[x] = nearestClassic(straight);
        }
    }
    return icon;
}

QImage transparentCanvas(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

struct CarColours {
    QRgb body;
    QRgb shade;
};

// A car seen from the side, facing right, in a box of 100 x 56 units. The outline keeps
// at least 1.5 pixels so that it stays black in small icons.
void paintCar(QPainter& painter, const CarColours& colours) {
    const qreal pixelsPerUnit = painter.transform().m11();
    const qreal outlineWidth = std::max(3.0, 1.5 / pixelsPerUnit);
    const QPen outline(c(classic::black), outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    QPainterPath body;
    body.moveTo(4, 40);
    body.lineTo(4, 28);
    body.quadTo(5, 22, 14, 21);
    body.lineTo(26, 20);
    body.lineTo(36, 6);
    body.quadTo(38, 4, 42, 4);
    body.lineTo(66, 4);
    body.quadTo(70, 4, 72, 7);
    body.lineTo(82, 20);
    body.lineTo(90, 21);
    body.quadTo(97, 22, 97, 30);
    body.lineTo(97, 40);
    body.quadTo(97, 44, 93, 44);
    body.lineTo(8, 44);
    body.quadTo(4, 44, 4, 40);
    painter.setPen(outline);
    painter.setBrush(c(colours.body));
    painter.drawPath(body);

    // lower flank in the darker shade
    painter.setPen(Qt::NoPen);
    painter.setBrush(c(colours.shade));
    painter.drawRect(QRectF(6, 34, 89, 8.5));

    // windows, split by the door pillar
    painter.setPen(QPen(c(classic::black), 2));
    painter.setBrush(c(classic::aqua));
    painter.drawPolygon(QPolygonF{{31, 19}, {39, 9}, {52, 9}, {52, 19}});
    painter.drawPolygon(QPolygonF{{57, 19}, {57, 9}, {67, 9}, {75, 19}});

    // lights
    painter.setPen(Qt::NoPen);
    painter.setBrush(c(classic::yellow));
    painter.drawRect(QRectF(90, 26, 6, 5));
    painter.setBrush(c(classic::maroon));
    painter.drawRect(QRectF(5, 26, 4, 5));

    // wheels
    for (const qreal x : {24.0, 77.0}) {
        painter.setPen(outline);
        painter.setBrush(c(classic::black));
        painter.drawEllipse(QPointF(x, 44), 11, 11);
        painter.setPen(Qt::NoPen);
        painter.setBrush(c(classic::silver));
        painter.drawEllipse(QPointF(x, 44), 5, 5);
    }
}

// At 16 pixels a drawing turns to mush; the smallest icon is set pixel by pixel.
QImage smallWindowIcon() {
    static constexpr std::array<const char*, 16> kRows{
        "................", //
        "................", //
        "................", //
        "...kkkkkk.......", //
        "..kcckcckk......", //
        "kkrrrrrrrrkk....", //
        "krrrrrrrrrrryk..", //
        "kmmmmmmkkkkkkk..", //
        "kkskk.kcckcckk..", //
        ".kkkkggggggggggk", //
        "...kgggggggggggy", //
        "...kdddddddddddk", //
        "....kkskkkkkskk.", //
        ".....kkk...kkk..", //
        "................", //
        "................", //
    };
    QImage icon(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            QRgb pixel = 0;
            switch (kRows[y][x]) {
            case 'k':
                pixel = classic::black;
                break;
            case 'r':
                pixel = classic::red;
                break;
            case 'm':
                pixel = classic::maroon;
                break;
            case 'g':
                pixel = classic::lime;
                break;
            case 'd':
                pixel = classic::green;
                break;
            case 'c':
                pixel = classic::aqua;
                break;
            case 's':
                pixel = classic::silver;
                break;
            case 'y':
                pixel = classic::yellow;
                break;
            default:
                break;
            }
            icon.setPixel(x, y, pixel);
        }
    }
    return icon;
}

QImage drawWindowIcon(int size) {
    if (size <= 16)
        return smallWindowIcon();
    QImage image = transparentCanvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 100.0;
    painter.scale(unit, unit);

    // the red car behind, higher up and to the left; the green one in front
    painter.save();
    painter.translate(0, 10);
    painter.scale(0.8, 0.8);
    paintCar(painter, {classic::red, classic::maroon});
    painter.restore();

    painter.save();
    painter.translate(8, 42);
    painter.scale(0.92, 0.92);
    paintCar(painter, {classic::lime, classic::green});
    painter.restore();
    painter.end();
    return toClassicIcon(image);
}

// The arrow's face pointing up, for an icon of `size` pixels whose face keeps `depth`
// pixels free at the right and bottom for the arrow's body. Each face is symmetric about
// its centre and no edge passes through a pixel centre, so the four directions are exact
// quarter turns of each other.
struct ArrowShape {
    QPolygonF face;
    qreal centre; // the face turns about (centre, centre)
    int depth;
};

ArrowShape arrowShape(int size) {
    if (size <= 16) {
        return {{{7.5, 0.25},
                 {14.5, 7.25},
                 {10.75, 7.25},
                 {10.75, 14.75},
                 {4.25, 14.75},
                 {4.25, 7.25},
                 {0.5, 7.25}},
                7.5,
                1};
    }
    return {{{15, 0.25},
             {29, 14.25},
             {20.25, 14.25},
             {20.25, 29.75},
             {9.75, 29.75},
             {9.75, 14.25},
             {1, 14.25}},
            15,
            2};
}

int quarterTurns(char direction) {
    switch (direction) {
    case 'o':
        return 1;
    case 's':
        return 2;
    case 'w':
        return 3;
    default:
        return 0;
    }
}

// Set pixels of a square picture.
class PixelMask {
public:
    explicit PixelMask(int size) : size_(size), bits_(std::size_t(size * size), false) {}

    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < size_ && y < size_ && bits_[std::size_t(y * size_ + x)];
    }
    void set(int x, int y) {
        if (x >= 0 && y >= 0 && x < size_ && y < size_)
            bits_[std::size_t(y * size_ + x)] = true;
    }
    int size() const { return size_; }

private:
    int size_;
    std::vector<bool> bits_;
};

PixelMask arrowFace(const ArrowShape& shape, int size, int turns) {
    // test each pixel centre, turned back into the frame of the upward face
    const QTransform back = QTransform()
                                .translate(shape.centre, shape.centre)
                                .rotate(-90.0 * turns)
                                .translate(-shape.centre, -shape.centre);
    PixelMask face(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (shape.face.containsPoint(back.map(QPointF(x + 0.5, y + 0.5)), Qt::OddEvenFill))
                face.set(x, y);
    return face;
}

// A shaded three-dimensional arrow in the 16 classic colours, set pixel by pixel: a blue
// face lit from the top left, its body stepping out to the bottom right, a black outline.
QImage drawArrowIcon(char direction, int size) {
    const ArrowShape shape = arrowShape(size);
    const PixelMask face = arrowFace(shape, size, quarterTurns(direction));
    PixelMask solid(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (int d = 0; d <= shape.depth; ++d)
                if (face.at(x - d, y - d))
                    solid.set(x, y);

    auto onEdge = [](const PixelMask& mask, int x, int y) {
        return !mask.at(x - 1, y) || !mask.at(x + 1, y) || !mask.at(x, y - 1) || !mask.at(x, y + 1);
    };
    PixelMask inner(size); // the face without the outline
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (face.at(x, y) && !onEdge(solid, x, y))
                inner.set(x, y);

    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (!solid.at(x, y))
                continue;
            QRgb colour = classic::navy; // the body and the face's shaded edge
            if (onEdge(solid, x, y))
                colour = classic::black;
            else if (inner.at(x, y) && (!inner.at(x - 1, y) || !inner.at(x, y - 1)))
                colour = classic::aqua; // lit edge
            else if (inner.at(x, y) && inner.at(x + 1, y) && inner.at(x, y + 1))
                colour = classic::blue;
            icon.setPixel(x, y, colour);
        }
    }
    return icon;
}

} // namespace

QImage windowIcon(int size) {
    return drawWindowIcon(size);
}

QImage arrowIcon(char direction, int size) {
    return drawArrowIcon(direction, size);
}

OutputFiles iconFiles() {
    OutputFiles files;
    for (const int size : {16, 32, 48, 256})
        files.push_back({QStringLiteral("tessel-%1.png").arg(size), encodePng(windowIcon(size))});
    for (const char direction : {'n', 'o', 's', 'w'}) {
        for (const int size : {16, 32}) {
            files.push_back({QStringLiteral("arrow-%1-%2.png").arg(QChar(direction)).arg(size),
                             encodePng(arrowIcon(direction, size))});
        }
    }
    return files;
}

} // namespace picgen
