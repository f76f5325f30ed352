#include "overlay.h"

#include "design/twips.h"

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
        for (const design::Row *l :
            withText ? pageLabels(which) : std::vector<const design::Row *>()) {
            const QRect r = design::twipsRect(*l);
            const bool valueBox = l->kind == design::Kind::ValueBox;
            p.setFont(r.height() >= 19 && !valueBox ? big : normal);
            if (l->opaque)
                p.fillRect(r, l->backColor);
            p.setPen(Qt::black);
            if (valueBox) {
                p.drawRect(r.adjusted(0, 0, -1, -1));
                p.drawText(r, Qt::AlignCenter, l->caption);
            } else {
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, l->caption);
            }
        }
    }
    QImage big
        = page.scaled(boxW * scale, boxH * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter p(&big);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    for (const design::Row *l : pageLabels(which)) {
        const QRect r = design::twipsRect(*l);
        p.drawRect(
            QRect(r.x() * scale, r.y() * scale, r.width() * scale - 1, r.height() * scale - 1));
    }
    p.setPen(QPen(QColor(0, 0, 255), 1, Qt::DashLine));
    p.drawRect(QRect(0, 0, 540 * scale - 1, 280 * scale - 1));
    return big;
}

} // namespace drawgen
