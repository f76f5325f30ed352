#include "overlay.h"

#include <QFont>
#include <QPainter>

namespace drawgen {

QImage labelOverlay(const QImage &drawing, Drawing which, int scale, bool withText)
{
    constexpr int boxW = 549;
    constexpr int boxH = 297;
    QImage page(boxW, boxH, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        p.drawImage(0, 0, drawing.convertToFormat(QImage::Format_RGB32), 0, 0, boxW, boxH);
        QFont big(QStringLiteral("IPAPGothic"));
        big.setPixelSize(19);
        QFont normal(QStringLiteral("IPAPGothic"));
        normal.setPixelSize(16);
        for (const PageLabel &l : withText ? pageLabels(which) : std::vector<PageLabel>()) {
            const QRect r = l.pixels();
            p.setFont(r.height() >= 19 && !l.valueBox ? big : normal);
            if (l.valueBox) {
                p.fillRect(r, Qt::white);
                p.setPen(Qt::black);
                p.drawRect(r.adjusted(0, 0, -1, -1));
                p.drawText(r, Qt::AlignCenter, l.text);
            } else {
                if (QLatin1String(l.name) == QLatin1String("Label0(15)"))
                    p.fillRect(r, QColor(192, 192, 192));
                p.setPen(Qt::black);
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, l.text);
            }
        }
    }
    QImage big
        = page.scaled(boxW * scale, boxH * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter p(&big);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    for (const PageLabel &l : pageLabels(which)) {
        const QRect r = l.pixels();
        p.drawRect(
            QRect(r.x() * scale, r.y() * scale, r.width() * scale - 1, r.height() * scale - 1));
    }
    p.setPen(QPen(QColor(0, 0, 255), 1, Qt::DashLine));
    p.drawRect(QRect(0, 0, 540 * scale - 1, 280 * scale - 1));
    return big;
}

} // namespace drawgen
