#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRgb>

#include <functional>

namespace drawgen {

inline constexpr QRgb groundColour = qRgb(192, 192, 192);
inline constexpr QRgb partColour = qRgb(160, 160, 164);
inline constexpr QRgb inkColour = qRgb(0, 0, 0);

// A drawing sheet in the three-colour style. Coordinates name pixel
// centres: (24, 141) is the pixel in column 24, row 141. Every line is one
// pixel of ink; nothing is antialiased.
class Sheet
{
public:
    Sheet(int width, int height);

    const QImage &image() const { return m_image; }

    // Areas (filled including their boundary pixels).
    void fill(const QPolygonF &area, QRgb colour = partColour);
    void fill(const QPainterPath &area, QRgb colour = partColour);
    void fillRect(int x0, int y0, int x1, int y1, QRgb colour = partColour);
    void fillCircle(QPointF centre, double radius, QRgb colour);

    // Lines, from pixel to pixel, both ends included.
    void line(QPointF a, QPointF b);
    void polyline(std::initializer_list<QPointF> points);
    void dot(int x, int y, QRgb colour = inkColour);

    // A curve traced through t0..t1, thinned to one pixel.
    void curve(const std::function<QPointF(double)> &at, double t0, double t1);
    // Arc of a circle; angles in degrees, counter-clockwise from "east"
    // with "north" up the sheet.
    void arc(QPointF centre, double radius, double fromDeg, double toDeg);
    // Arc through three points, from a over m to b.
    void arcThrough(QPointF a, QPointF m, QPointF b);
    void circle(QPointF centre, double radius);

    // Centre line (long dash, gap, short dash, gap, ..., long dash); only
    // horizontal or vertical.
    void chain(QPoint a, QPoint b);

    // Solid arrowhead with its tip at `tip`, pointing along `direction`.
    void arrow(QPointF tip, QPointF direction, double length = 15.0);
    // Arrowhead on an arc, its tip at angle `tipDeg`, its tail towards
    // `tailDeg`.
    void arcArrow(
        QPointF centre, double radius, double tipDeg, double tailDeg, double length = 12.0);

    // Section lines 12 pixels apart along a row, over the pixels set in
    // `mask` (any non-zero grey), rising to the right or falling.
    void hatch(const QImage &mask, bool rising, int phase);

    // A mask sized like the sheet, for hatch(): paint on it in white.
    QImage newMask() const;

private:
    QImage m_image;
};

} // namespace drawgen
