#include "drawings.h"

#include "design/twips.h"
#include "labels.h"
#include "sheet.h"

#include <QPainter>

#include <cmath>
#include <stdexcept>

namespace drawgen {

namespace {

constexpr double pi = 3.14159265358979323846;
const double tan30 = std::tan(30.0 * pi / 180.0);
const double cos30 = std::cos(30.0 * pi / 180.0);

const QPointF up(0, -1);
const QPointF down(0, 1);
const QPointF left(-1, 0);
const QPointF right(1, 0);

void outline(Sheet &s, const QPolygonF &poly)
{
    for (int i = 0; i < poly.size(); ++i)
        s.line(poly[i], poly[(i + 1) % poly.size()]);
}

// How far an extension line runs on past its dimension line.
constexpr double extensionPast = 4;

// From `from` on to just past `to`.
double pastEnd(double from, double to)
{
    return to > from ? to + extensionPast : to - extensionPast;
}

// Vertical dimension with its arrows inside, pointing out at y0 and y1.
void verticalDimension(Sheet &s, double x, double y0, double y1)
{
    s.line(QPointF(x, y0), QPointF(x, y1));
    s.arrow(QPointF(x, y0), up);
    s.arrow(QPointF(x, y1), down);
}

// The same between extension lines drawn from fromX at y0 and y1.
void verticalDimension(Sheet &s, double x, double y0, double y1, double fromX)
{
    s.line(QPointF(fromX, y0), QPointF(pastEnd(fromX, x), y0));
    s.line(QPointF(fromX, y1), QPointF(pastEnd(fromX, x), y1));
    verticalDimension(s, x, y0, y1);
}

void horizontalDimension(Sheet &s, double y, double x0, double x1)
{
    s.line(QPointF(x0, y), QPointF(x1, y));
    s.arrow(QPointF(x0, y), left);
    s.arrow(QPointF(x1, y), right);
}

// The same between extension lines drawn at x0 from fromY0 and at x1 from
// fromY1.
void horizontalDimension(Sheet &s, double y, double x0, double x1, double fromY0, double fromY1)
{
    s.line(QPointF(x0, fromY0), QPointF(x0, pastEnd(fromY0, y)));
    s.line(QPointF(x1, fromY1), QPointF(x1, pastEnd(fromY1, y)));
    horizontalDimension(s, y, x0, x1);
}

// End view of a hexagon with its corners up and down and flats at
// xLeft and xRight, filled, with the bearing circle touching the flats.
void hexagonEnd(Sheet &s, double cornerX, double xLeft, double xRight, double cy, double cornerR)
{
    const double edgeTop = std::floor(cy - cornerR / 2);
    const double edgeBottom = std::ceil(cy + cornerR / 2);
    const QPolygonF hex { { cornerX, cy - cornerR }, { xRight, edgeTop }, { xRight, edgeBottom },
        { cornerX, cy + cornerR }, { xLeft, edgeBottom }, { xLeft, edgeTop } };
    s.fill(hex);
    outline(s, hex);
    s.circle(QPointF((xLeft + xRight) / 2, cy), (xRight - xLeft) / 2);
}

struct HexSide
{
    double yTop, yBottom; // the corner edges, outline of the view
    double faceTop, faceBottom; // the two edges between the three faces
    double chamferTop, chamferBottom; // ends of the chamfered face
    double xLeftCorner, xRightCorner;
};

// Side view of a hexagon head or nut across its corners, x0 to x1, with
// the 30 degree chamfer and its arcs on the faces chamfered.
HexSide hexagonSide(Sheet &s, double x0, double x1, double cy, double cornerR, double chamferR,
    bool chamferLeft, bool chamferRight)
{
    HexSide h;
    h.yTop = cy - cornerR;
    h.yBottom = cy + cornerR;
    h.faceTop = std::floor(cy - cornerR / 2);
    h.faceBottom = std::ceil(cy + cornerR / 2);
    h.chamferTop = std::floor(cy - chamferR + 0.5);
    h.chamferBottom = std::floor(cy + chamferR + 0.5);
    const double run = std::round((cornerR - chamferR) * tan30);
    const double flatR = cornerR * cos30;
    const double apex = (flatR - chamferR) * tan30;
    h.xLeftCorner = chamferLeft ? x0 + run : x0;
    h.xRightCorner = chamferRight ? x1 - run : x1;

    QPolygonF poly;
    if (chamferLeft)
        poly << QPointF(x0, h.chamferTop) << QPointF(h.xLeftCorner, h.yTop);
    else
        poly << QPointF(x0, h.yTop);
    if (chamferRight)
        poly << QPointF(h.xRightCorner, h.yTop) << QPointF(x1, h.chamferTop)
             << QPointF(x1, h.chamferBottom) << QPointF(h.xRightCorner, h.yBottom);
    else
        poly << QPointF(x1, h.yTop) << QPointF(x1, h.yBottom);
    if (chamferLeft)
        poly << QPointF(h.xLeftCorner, h.yBottom) << QPointF(x0, h.chamferBottom);
    else
        poly << QPointF(x0, h.yBottom);
    s.fill(poly);
    outline(s, poly);

    s.line(QPointF(h.xLeftCorner, h.faceTop), QPointF(h.xRightCorner, h.faceTop));
    s.line(QPointF(h.xLeftCorner, h.faceBottom), QPointF(h.xRightCorner, h.faceBottom));

    const double sideFaceMid = flatR * std::sin(60.0 * pi / 180.0);
    auto arcs = [&](double xCorner, double xApex) {
        s.arcThrough(QPointF(xCorner, h.yTop), QPointF(xApex, cy - sideFaceMid),
            QPointF(xCorner, h.faceTop));
        s.arcThrough(
            QPointF(xCorner, h.faceTop), QPointF(xApex, cy), QPointF(xCorner, h.faceBottom));
        s.arcThrough(QPointF(xCorner, h.faceBottom), QPointF(xApex, cy + sideFaceMid),
            QPointF(xCorner, h.yBottom));
    };
    if (chamferLeft)
        arcs(h.xLeftCorner, x0 + apex);
    if (chamferRight)
        arcs(h.xRightCorner, x1 - apex);
    return h;
}

// The chamfer angle over a left face: the face line drawn on up, the
// chamfer line drawn on from the upper corner, and the arc between them
// with an arrowhead at each line.
void chamferAngle(Sheet &s, double faceX, const HexSide &h, double radius)
{
    const QPointF c(faceX, h.chamferTop);
    const QPointF corner(h.xLeftCorner, h.yTop);
    const double len = std::hypot(corner.x() - c.x(), corner.y() - c.y());
    const QPointF u((corner.x() - c.x()) / len, (corner.y() - c.y()) / len);
    const double lineDeg = std::atan2(-u.y(), u.x()) * 180.0 / pi;

    s.line(QPointF(faceX, h.chamferTop - 3), QPointF(faceX, 24));
    s.line(c + u * (len + 2), c + u * (radius + 8));
    s.arc(c, radius, lineDeg, 90);
    s.arcArrow(c, radius, 90, lineDeg);
    s.arcArrow(c, radius, lineDeg, 90);
}

QPolygonF arcPolygon(QPointF c, double r, double fromDeg, double toDeg, int steps = 24)
{
    QPolygonF poly;
    for (int i = 0; i <= steps; ++i) {
        const double a = (fromDeg + (toDeg - fromDeg) * i / steps) * pi / 180.0;
        poly << QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
    }
    return poly;
}

// Takes the hatching out under the page's value boxes that stand on a
// section, as a draughtsman leaves it out around a figure.
void clearUnderValueBoxes(QImage &mask, Drawing drawing)
{
    QPainter p(&mask);
    for (const design::Row *l : pageLabels(drawing))
        if (l->kind == design::Kind::ValueBox)
            p.fillRect(design::twipsRect(*l).adjusted(-2, -2, 2, 2), Qt::black);
}

} // namespace

QImage boltDrawing()
{
    Sheet s(711, 474);

    // End view of the head.
    hexagonEnd(s, 70, 24, 115, 141, 53);
    s.chain(QPoint(12, 141), QPoint(128, 141));
    s.chain(QPoint(70, 76), QPoint(70, 206));

    // Width across flats.
    horizontalDimension(s, 255, 24, 115, 171, 171);

    // Width across corners, led up and to the left.
    verticalDimension(s, 153, 88, 194, 74);
    s.polyline({ { 153, 88 }, { 153, 55 }, { 136, 55 } });

    // Side view: shank and thread first, the head over their left end.
    const QPolygonF body { { 277, 114 }, { 515, 114 }, { 519, 118 }, { 519, 164 }, { 515, 168 },
        { 277, 168 } };
    s.fill(body);
    outline(s, body);
    s.line(QPointF(515, 114), QPointF(515, 168)); // edge of the end chamfer
    s.line(QPointF(379, 114), QPointF(379, 168)); // end of the full thread
    s.line(QPointF(379, 118), QPointF(515, 118)); // minor diameter
    s.line(QPointF(379, 164), QPointF(515, 164));
    s.line(QPointF(379, 118), QPointF(372, 114)); // run-out
    s.line(QPointF(379, 164), QPointF(372, 168));

    // Fillet under the head.
    QPolygonF filletTop = arcPolygon(QPointF(280, 111), 3, 180, 270);
    filletTop << QPointF(277, 114);
    QPolygonF filletBottom = arcPolygon(QPointF(280, 171), 3, 90, 180);
    filletBottom << QPointF(277, 168);
    s.fill(filletTop);
    s.fill(filletBottom);
    s.arc(QPointF(280, 111), 3, 180, 270);
    s.arc(QPointF(280, 171), 3, 90, 180);

    const HexSide head = hexagonSide(s, 239, 277, 141, 53, 39.5, true, false);
    s.chain(QPoint(229, 141), QPoint(531, 141));

    // Chamfer angle of the head.
    chamferAngle(s, 239, head, 70);

    // Diameter of the chamfered face, led down and to the left.
    verticalDimension(s, 197, 102, 181, 236);
    s.polyline({ { 197, 181 }, { 197, 226 }, { 173, 226 } });

    // Head height and length on one line.
    s.line(QPointF(239, 184), QPointF(239, 270));
    s.line(QPointF(277, 197), QPointF(277, 270));
    s.line(QPointF(519, 171), QPointF(519, 270));
    s.line(QPointF(202, 266), QPointF(519, 266));
    s.arrow(QPointF(239, 266), right);
    s.arrow(QPointF(277, 266), left);
    s.arrow(QPointF(519, 266), right);

    // Transition diameter under the head, led up and to the right.
    verticalDimension(s, 316, 111, 171, 282);
    s.polyline({ { 316, 111 }, { 316, 45 }, { 340, 45 } });

    // Shank diameter.
    verticalDimension(s, 352, 114, 168);
    s.polyline({ { 352, 114 }, { 352, 79 }, { 376, 79 } });

    // Leader to the thread.
    s.polyline({ { 478, 70 }, { 458, 70 }, { 424, 113 } });
    s.arrow(QPointF(424, 113), QPointF(424 - 458, 113 - 70));

    // Incomplete thread and thread length on one line.
    s.line(QPointF(372, 171), QPointF(372, 227));
    s.line(QPointF(379, 171), QPointF(379, 227));
    s.line(QPointF(334, 223), QPointF(519, 223));
    s.arrow(QPointF(372, 223), right);
    s.arrow(QPointF(379, 223), left);
    s.arrow(QPointF(519, 223), right);

    return s.image();
}

QImage nutDrawing()
{
    Sheet s(692, 498);

    // End view with the threaded hole.
    hexagonEnd(s, 127, 82, 173, 139, 52);
    const QPointF hole(127.5, 139);
    s.fillCircle(hole, 22.5, groundColour);
    s.circle(hole, 26.5);
    s.circle(hole, 22.5);
    s.chain(QPoint(70, 139), QPoint(185, 139));
    s.chain(QPoint(127, 75), QPoint(127, 203));

    // Callout of the thread.
    s.polyline({ { 56, 58 }, { 75, 58 }, { 113, 116 } });
    s.arrow(QPointF(113, 116), QPointF(113 - 75, 116 - 58));

    // Width across flats.
    horizontalDimension(s, 252, 82, 173, 168, 168);

    // Width across corners, led up and to the left.
    verticalDimension(s, 217, 87, 191, 131);
    s.polyline({ { 217, 87 }, { 217, 45 }, { 193, 45 } });

    // Type 1: chamfered on its left face.
    const HexSide one = hexagonSide(s, 325, 367, 139, 52, 39, true, false);
    s.chain(QPoint(312, 139), QPoint(380, 139));
    chamferAngle(s, 325, one, 68);

    verticalDimension(s, 278, 100, 178, 322);
    s.polyline({ { 278, 178 }, { 278, 231 }, { 254, 231 } });

    horizontalDimension(s, 248, 325, 367, 181, 194);

    // Type 3: thinner, chamfered on both faces.
    hexagonSide(s, 454, 486, 139, 52, 39, true, true);
    s.chain(QPoint(436, 139), QPoint(504, 139));

    s.line(QPointF(454, 181), QPointF(454, 252));
    s.line(QPointF(486, 181), QPointF(486, 252));
    s.line(QPointF(417, 248), QPointF(524, 248));
    s.arrow(QPointF(454, 248), right);
    s.arrow(QPointF(486, 248), left);

    return s.image();
}

QImage jointDrawing()
{
    Sheet s(686, 537);

    // Plate in section: the clearance hole splits it in two.
    const QPolygonF plateTop { { 147, 43 }, { 280, 43 }, { 280, 124 }, { 152, 124 }, { 152, 92 },
        { 147, 92 } };
    const QPolygonF plateBottom { { 152, 188 }, { 280, 188 }, { 280, 269 }, { 147, 269 },
        { 147, 220 }, { 152, 220 } };
    s.fill(plateTop);
    s.fill(plateBottom);
    {
        QImage mask = s.newMask();
        QPainter p(&mask);
        p.translate(0.5, 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(plateTop);
        p.drawPolygon(plateBottom);
        p.end();
        clearUnderValueBoxes(mask, Drawing::Joint);
        s.hatch(mask, true, 3);
    }

    // Base part in section: broken off raggedly, no outline of its own.
    QPolygonF base;
    {
        // A fixed, hand-tuned stagger of the broken edges.
        static const int topJitter[]
            = { 0, -2, 1, 3, -1, 2, -3, 1, 2, -2, 0, 3, -1, -3, 2, 1, -2, 3, 0, -1, 2 };
        static const int rightJitter[] = { 2, -3, 4, -1, 3, -4, 1, 5, -2, 2, -3, 4, 0, -2 };
        static const int bottomJitter[]
            = { 1, -2, 3, 0, -3, 2, -1, 3, -2, 1, 2, -3, 0, 2, -1, 3, -2, 1, 0, -2, 2 };
        base << QPointF(280, 92);
        int i = 0;
        for (double x = 289; x < 462; x += 9, ++i)
            base << QPointF(x, 92 + topJitter[i % std::size(topJitter)]);
        i = 0;
        for (double y = 92; y <= 222; y += 10, ++i)
            base << QPointF(462 + rightJitter[i % std::size(rightJitter)], y);
        i = 0;
        for (double x = 455; x > 280; x -= 9, ++i)
            base << QPointF(x, 221 + bottomJitter[i % std::size(bottomJitter)]);
        base << QPointF(280, 222);
    }
    QPainterPath bore;
    bore.addRect(QRectF(280, 129, 106, 53));
    bore.addRect(QRectF(386, 133, 40, 45));
    bore.addPolygon(QPolygonF { { 426, 133 }, { 437, 156 }, { 426, 178 } });
    bore.setFillRule(Qt::WindingFill);
    s.fill(base);
    s.fill(bore.simplified(), groundColour);
    {
        QImage mask = s.newMask();
        QPainter p(&mask);
        p.translate(0.5, 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(base);
        p.setBrush(Qt::black);
        p.setPen(QPen(Qt::black, 0));
        p.drawPath(bore.simplified());
        p.end();
        clearUnderValueBoxes(mask, Drawing::Joint);
        s.hatch(mask, false, 5);
    }

    // Outlines of the plate.
    s.line(QPointF(147, 43), QPointF(280, 43));
    s.line(QPointF(147, 269), QPointF(280, 269));
    s.line(QPointF(147, 43), QPointF(147, 92));
    s.line(QPointF(147, 220), QPointF(147, 269));
    s.line(QPointF(147, 92), QPointF(152, 92));
    s.line(QPointF(147, 220), QPointF(152, 220));
    s.line(QPointF(152, 92), QPointF(152, 124));
    s.line(QPointF(152, 188), QPointF(152, 220));
    s.line(QPointF(152, 124), QPointF(280, 124));
    s.line(QPointF(152, 188), QPointF(280, 188));
    s.line(QPointF(280, 43), QPointF(280, 269));

    // Tapped blind hole: thread, drill, drill point.
    s.line(QPointF(280, 129), QPointF(402, 129));
    s.line(QPointF(280, 182), QPointF(402, 182));
    s.line(QPointF(402, 129), QPointF(402, 182));
    s.line(QPointF(386, 133), QPointF(426, 133));
    s.line(QPointF(386, 178), QPointF(426, 178));
    s.line(QPointF(426, 133), QPointF(437, 156));
    s.line(QPointF(426, 178), QPointF(437, 156));

    // The rod, threaded at both ends.
    const QPolygonF rod { { 98, 129 }, { 382, 129 }, { 386, 133 }, { 386, 178 }, { 382, 182 },
        { 98, 182 }, { 94, 178 }, { 94, 133 } };
    s.fill(rod);
    outline(s, rod);
    s.line(QPointF(98, 129), QPointF(98, 182));
    s.line(QPointF(382, 129), QPointF(382, 182));
    s.line(QPointF(98, 133), QPointF(170, 133));
    s.line(QPointF(98, 178), QPointF(170, 178));
    s.line(QPointF(170, 129), QPointF(170, 182));
    s.line(QPointF(262, 133), QPointF(382, 133));
    s.line(QPointF(262, 178), QPointF(382, 178));
    s.line(QPointF(262, 129), QPointF(262, 182));

    // The nut in the spot face.
    hexagonSide(s, 110, 152, 156, 52, 40, true, false);
    s.chain(QPoint(84, 156), QPoint(448, 156));

    // Spot-face diameter, led up and to the right.
    verticalDimension(s, 57, 92, 220, 144);
    s.polyline({ { 57, 92 }, { 57, 52 }, { 81, 52 } });

    // Rod diameter and hole diameter, led up and to the left.
    verticalDimension(s, 216, 129, 182);
    s.polyline({ { 216, 129 }, { 216, 88 }, { 191, 88 } });
    verticalDimension(s, 251, 124, 188);
    s.polyline({ { 251, 124 }, { 251, 55 }, { 226, 55 } });

    // Depth the rod is screwed in.
    s.line(QPointF(386, 130), QPointF(386, 70));
    horizontalDimension(s, 74, 280, 386);

    // Depth of the thread.
    s.line(QPointF(402, 185), QPointF(402, 259));
    horizontalDimension(s, 255, 280, 402);

    // Drill diameter, between the drill lines drawn on.
    verticalDimension(s, 500, 133, 178, 430);
    s.polyline({ { 500, 133 }, { 500, 70 }, { 476, 70 } });

    return s.image();
}

const char *stem(Drawing drawing)
{
    for (const PageDrawing &d : pageDrawings)
        if (d.drawing == drawing)
            return d.stem;
    throw std::logic_error("a drawing missing from pageDrawings");
}

QList<QRgb> drawingPalette()
{
    // The twenty fixed colours of a 256-colour display at both ends, a
    // 6 x 6 x 6 colour cube and a grey ramp between them.
    QList<QRgb> t {
        qRgb(0, 0, 0),
        qRgb(128, 0, 0),
        qRgb(0, 128, 0),
        qRgb(128, 128, 0),
        qRgb(0, 0, 128),
        qRgb(128, 0, 128),
        qRgb(0, 128, 128),
        qRgb(192, 192, 192),
        qRgb(192, 220, 192),
        qRgb(166, 202, 240),
    };
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                t << qRgb(r * 51, g * 51, b * 51);
    for (int i = 0; i < 20; ++i)
        t << qRgb(8 + i * 12, 8 + i * 12, 8 + i * 12);
    t << qRgb(255, 251, 240) << qRgb(160, 160, 164) << qRgb(128, 128, 128) << qRgb(255, 0, 0)
      << qRgb(0, 255, 0) << qRgb(255, 255, 0) << qRgb(0, 0, 255) << qRgb(255, 0, 255)
      << qRgb(0, 255, 255) << qRgb(255, 255, 255);
    return t;
}

QImage toDrawingPalette(const QImage &rgb)
{
    const QList<QRgb> table = drawingPalette();
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    out.setDotsPerMeterX(3780);
    out.setDotsPerMeterY(3780);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y) | 0xff000000u;
            const auto i = table.indexOf(c);
            if (i < 0)
                throw std::runtime_error("colour outside the drawing palette");
            out.setPixel(x, y, uint(i));
        }
    return out;
}

QList<QRgb> standardSixteen()
{
    return {
        qRgb(0, 0, 0),
        qRgb(128, 0, 0),
        qRgb(0, 128, 0),
        qRgb(128, 128, 0),
        qRgb(0, 0, 128),
        qRgb(128, 0, 128),
        qRgb(0, 128, 128),
        qRgb(192, 192, 192),
        qRgb(128, 128, 128),
        qRgb(255, 0, 0),
        qRgb(0, 255, 0),
        qRgb(255, 255, 0),
        qRgb(0, 0, 255),
        qRgb(255, 0, 255),
        qRgb(0, 255, 255),
        qRgb(255, 255, 255),
    };
}

} // namespace drawgen
