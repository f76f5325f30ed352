#include "sheet.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace drawgen {

namespace {

constexpr double pi = 3.14159265358979323846;

QPoint snap(QPointF p)
{
    return QPoint(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
}

void paintArea(QImage &img, const QPainterPath &area, QRgb colour)
{
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Pixel centres lie at whole coordinates on the sheet, at +0.5 for
    // QPainter; the pen in the fill colour takes the boundary pixels too.
    p.translate(0.5, 0.5);
    p.setPen(QPen(QColor(colour), 0));
    p.setBrush(QColor(colour));
    p.drawPath(area);
}

} // namespace

Sheet::Sheet(int width, int height)
    : m_image(width, height, QImage::Format_RGB32)
{
    m_image.fill(groundColour);
}

void Sheet::fill(const QPolygonF &area, QRgb colour)
{
    QPainterPath path;
    path.addPolygon(area);
    path.closeSubpath();
    paintArea(m_image, path, colour);
}

void Sheet::fill(const QPainterPath &area, QRgb colour)
{
    paintArea(m_image, area, colour);
}

void Sheet::fillRect(int x0, int y0, int x1, int y1, QRgb colour)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            dot(x, y, colour);
}

void Sheet::fillCircle(QPointF centre, double radius, QRgb colour)
{
    const double r2 = radius * radius;
    for (int y = int(std::floor(centre.y() - radius)); y <= int(std::ceil(centre.y() + radius));
         ++y)
        for (int x = int(std::floor(centre.x() - radius)); x <= int(std::ceil(centre.x() + radius));
             ++x) {
            const double dx = x - centre.x();
            const double dy = y - centre.y();
            if (dx * dx + dy * dy <= r2)
                dot(x, y, colour);
        }
}

void Sheet::dot(int x, int y, QRgb colour)
{
    if (m_image.rect().contains(x, y))
        m_image.setPixel(x, y, colour);
}

void Sheet::line(QPointF a, QPointF b)
{
    const QPoint p = snap(a);
    const QPoint q = snap(b);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(inkColour), 0));
    painter.drawLine(p, q);
    // Both ends belong to the line, whatever the rasteriser does with the last.
    painter.end();
    dot(p.x(), p.y());
    dot(q.x(), q.y());
}

void Sheet::polyline(std::initializer_list<QPointF> points)
{
    const QPointF *prev = nullptr;
    for (const QPointF &p : points) {
        if (prev)
            line(*prev, p);
        prev = &p;
    }
}

void Sheet::curve(const std::function<QPointF(double)> &at, double t0, double t1)
{
    // Sample densely, keep each pixel once, then drop the corner pixel of
    // every L so the trace stays one pixel thin.
    std::vector<QPoint> pts;
    const int samples = 4000;
    for (int i = 0; i <= samples; ++i) {
        const QPoint q = snap(at(t0 + (t1 - t0) * i / samples));
        if (!pts.empty() && pts.back() == q)
            continue;
        while (!pts.empty()
            && (std::abs(pts.back().x() - q.x()) > 1 || std::abs(pts.back().y() - q.y()) > 1)) {
            // Close a gap between samples (never expected at this density).
            const QPoint b = pts.back();
            pts.push_back(QPoint(b.x() + (q.x() > b.x()) - (q.x() < b.x()),
                b.y() + (q.y() > b.y()) - (q.y() < b.y())));
        }
        if (pts.size() >= 2) {
            const QPoint before = pts[pts.size() - 2];
            if (std::abs(before.x() - q.x()) <= 1 && std::abs(before.y() - q.y()) <= 1)
                pts.back() = q;
            else
                pts.push_back(q);
        } else {
            pts.push_back(q);
        }
    }
    for (const QPoint &p : pts)
        dot(p.x(), p.y());
}

void Sheet::arc(QPointF c, double r, double fromDeg, double toDeg)
{
    curve(
        [c, r](double deg) {
            const double a = deg * pi / 180.0;
            return QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        },
        fromDeg, toDeg);
}

void Sheet::arcThrough(QPointF a, QPointF m, QPointF b)
{
    // Circumcentre of the three points.
    const double d
        = 2 * (a.x() * (m.y() - b.y()) + m.x() * (b.y() - a.y()) + b.x() * (a.y() - m.y()));
    const double a2 = a.x() * a.x() + a.y() * a.y();
    const double m2 = m.x() * m.x() + m.y() * m.y();
    const double b2 = b.x() * b.x() + b.y() * b.y();
    const QPointF c((a2 * (m.y() - b.y()) + m2 * (b.y() - a.y()) + b2 * (a.y() - m.y())) / d,
        (a2 * (b.x() - m.x()) + m2 * (a.x() - b.x()) + b2 * (m.x() - a.x())) / d);
    const double r = std::hypot(a.x() - c.x(), a.y() - c.y());
    auto angle = [c](QPointF p) { return std::atan2(c.y() - p.y(), p.x() - c.x()) * 180.0 / pi; };
    double from = angle(a);
    double mid = angle(m);
    double to = angle(b);
    // Go from a to b the way that passes m.
    auto norm = [](double v) {
        while (v < 0)
            v += 360;
        while (v >= 360)
            v -= 360;
        return v;
    };
    const double spanToMid = norm(mid - from);
    const double spanToEnd = norm(to - from);
    if (spanToMid <= spanToEnd)
        arc(c, r, from, from + spanToEnd);
    else
        arc(c, r, from, from - (360 - spanToEnd));
}

void Sheet::circle(QPointF centre, double radius)
{
    arc(centre, radius, 0, 360);
}

void Sheet::chain(QPoint a, QPoint b)
{
    const bool horizontal = a.y() == b.y();
    const int from = horizontal ? std::min(a.x(), b.x()) : std::min(a.y(), b.y());
    const int to = horizontal ? std::max(a.x(), b.x()) : std::max(a.y(), b.y());
    const int total = to - from + 1;
    constexpr int gap = 6;
    constexpr int shortDash = 8;
    constexpr int between = gap + shortDash + gap;
    // As many long dashes as keep each near 32 pixels.
    int n = std::max(1, int(std::lround(double(total + between) / (32 + between))));
    const int longTotal = total - (n - 1) * between;
    int pos = from;
    for (int i = 0; i < n; ++i) {
        const int len = longTotal / n + (i < longTotal % n ? 1 : 0);
        const int s = pos;
        const int e = pos + len - 1;
        if (horizontal)
            line(QPointF(s, a.y()), QPointF(e, a.y()));
        else
            line(QPointF(a.x(), s), QPointF(a.x(), e));
        pos = e + 1;
        if (i + 1 < n) {
            const int ss = pos + gap;
            const int se = ss + shortDash - 1;
            if (horizontal)
                line(QPointF(ss, a.y()), QPointF(se, a.y()));
            else
                line(QPointF(a.x(), ss), QPointF(a.x(), se));
            pos = se + 1 + gap;
        }
    }
}

void Sheet::arrow(QPointF tip, QPointF direction, double length)
{
    const double n = std::hypot(direction.x(), direction.y());
    const QPointF u(direction.x() / n, direction.y() / n);
    const QPointF v(-u.y(), u.x());
    const double halfWidth = length / 5.0;
    // Every pixel whose centre lies within the triangle, plus the tip.
    const int reach = int(std::ceil(length)) + 1;
    for (int y = int(tip.y()) - reach; y <= int(tip.y()) + reach; ++y)
        for (int x = int(tip.x()) - reach; x <= int(tip.x()) + reach; ++x) {
            const QPointF d(x - tip.x(), y - tip.y());
            const double along = -(d.x() * u.x() + d.y() * u.y());
            const double across = d.x() * v.x() + d.y() * v.y();
            if (along >= -0.01 && along <= length + 0.01
                && std::abs(across) <= halfWidth * along / length + 0.35)
                dot(x, y);
        }
    line(tip, tip - u * (length + 1));
}

void Sheet::arcArrow(QPointF c, double r, double tipDeg, double tailDeg, double length)
{
    const double a = tipDeg * pi / 180.0;
    const double sweep = (tailDeg > tipDeg ? 1 : -1) * length / r;
    const QPointF tip(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
    const QPointF tail(c.x() + r * std::cos(a + sweep), c.y() - r * std::sin(a + sweep));
    arrow(tip, tip - tail, length);
}

void Sheet::hatch(const QImage &mask, bool rising, int phase)
{
    for (int y = 0; y < m_image.height(); ++y)
        for (int x = 0; x < m_image.width(); ++x) {
            const int k = rising ? x + y : x - y + 12 * 1000;
            if (((k - phase) % 12 + 12) % 12 == 0 && qGray(mask.pixel(x, y)) != 0)
                m_image.setPixel(x, y, inkColour);
        }
}

QImage Sheet::newMask() const
{
    QImage m(m_image.size(), QImage::Format_RGB32);
    m.fill(Qt::black);
    return m;
}

} // namespace drawgen
