#include "drawings.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <stdexcept>

namespace drawgen {

namespace {

constexpr double pi = 3.14159265358979323846;

enum Colour { Black = 0, Green = 2, Silver = 7, Grey = 8, Lime = 10, Yellow = 11, White = 15 };

QColor c(Colour i)
{
    return QColor(standardSixteen().at(i));
}

const QPolygonF spine { { 3, 6 }, { 8, 3 }, { 8, 30 }, { 3, 27 } };
const QPolygonF cover { { 8, 3 }, { 28, 7 }, { 28, 27 }, { 8, 30 } };

QPolygonF gear(QPointF centre, double outer, double root, int teeth, double phaseDeg)
{
    QPolygonF p;
    const double step = 360.0 / teeth;
    for (int k = 0; k < teeth; ++k) {
        const double a = phaseDeg + k * step;
        const double pts[4][2] = { { a - step / 2 + 3, root }, { a - step / 5, outer },
            { a + step / 5, outer }, { a + step / 2 - 3, root } };
        for (const auto &q : pts) {
            const double r = q[0] * pi / 180.0;
            p << QPointF(centre.x() + q[1] * std::cos(r), centre.y() - q[1] * std::sin(r));
        }
    }
    return p;
}

void shape(QPainter &p, const QPolygonF &poly, Colour fill, Colour edge)
{
    p.setPen(QPen(c(edge), 0));
    p.setBrush(c(fill));
    p.drawPolygon(poly);
}

// Fills the shape and turns its rim (pixels with a 4-neighbour outside it)
// black, so a small shape keeps a closed one-pixel outline.
void outlinedShape(QImage &img, const QPolygonF &poly, Colour fill)
{
    QImage mask(img.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(0.5, 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(poly);
    }
    auto inside = [&](int x, int y) { return mask.valid(x, y) && qGray(mask.pixel(x, y)) != 0; };
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (!inside(x, y))
                continue;
            const bool rim
                = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            img.setPixel(x, y, standardSixteen().at(rim ? Black : fill));
        }
}

QImage paintIcon()
{
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(c(Black));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(0.5, 0.5);

    // Spine: dark grey with two bands, lit along its front edge.
    shape(p, spine, Grey, Black);
    p.setPen(QPen(c(Lime), 0));
    p.drawLine(QPointF(4, 8), QPointF(7, 6));
    p.drawLine(QPointF(4, 25), QPointF(7, 27));
    p.setPen(QPen(c(Silver), 0));
    p.drawLine(QPointF(7, 9), QPointF(7, 24));

    // Cover: light grey inside a green edge, white light from the upper
    // left, dark grey shade to the lower right.
    shape(p, cover, Silver, Black);
    const QPolygonF edge { { 9, 4.5 }, { 27, 8 }, { 27, 26 }, { 9, 28.5 } };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c(Lime), 0));
    p.drawPolygon(edge);
    p.setPen(QPen(c(White), 0));
    p.drawLine(QPointF(10, 6), QPointF(26, 9));
    p.drawLine(QPointF(10, 6), QPointF(10, 27));
    p.setPen(QPen(c(Grey), 0));
    p.drawLine(QPointF(26, 10), QPointF(26, 25));
    p.drawLine(QPointF(11, 27), QPointF(26, 25));

    p.end();

    // Two meshing gears, each filled and ringed with a black outline.
    outlinedShape(img, gear(QPointF(16.5, 14), 6.0, 4.4, 8, 0), White);
    outlinedShape(img, gear(QPointF(21.5, 21.5), 5.0, 3.6, 8, 22.5), Yellow);
    for (QPoint hub : { QPoint(16, 13), QPoint(21, 21) }) {
        img.setPixel(hub, standardSixteen().at(Black));
        img.setPixel(hub + QPoint(1, 0), standardSixteen().at(Black));
        img.setPixel(hub + QPoint(0, 1), standardSixteen().at(Black));
        img.setPixel(hub + QPoint(1, 1), standardSixteen().at(Black));
    }
    return img;
}

} // namespace

QImage iconOpaque()
{
    QImage m(32, 32, QImage::Format_RGB32);
    m.fill(Qt::black);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(0.5, 0.5);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::white);
    p.drawPolygon(spine);
    p.drawPolygon(cover);
    return m;
}

QImage iconPixels()
{
    const QImage rgb = paintIcon();
    const QList<QRgb> table = standardSixteen();
    QImage out(32, 32, QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const auto i = table.indexOf(rgb.pixel(x, y) | 0xff000000u);
            if (i < 0)
                throw std::runtime_error("icon colour outside the 16-colour table");
            out.setPixel(x, y, uint(i));
        }
    return out;
}

QImage iconForPng(int scale)
{
    const QImage pix = iconPixels();
    const QImage opaque = iconOpaque();
    QList<QRgb> table = standardSixteen();
    table << qRgba(0, 0, 0, 0);
    QImage out(32 * scale, 32 * scale, QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const int sx = x / scale;
            const int sy = y / scale;
            out.setPixel(x, y, qGray(opaque.pixel(sx, sy)) ? uint(pix.pixelIndex(sx, sy)) : 16u);
        }
    return out;
}

} // namespace drawgen
