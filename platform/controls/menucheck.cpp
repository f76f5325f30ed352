#include "controls/menucheck.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

namespace controls {

namespace {

class CheckMarkStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override
    {
        if (element != PE_IndicatorCheckBox || !qobject_cast<const QMenu *>(widget)) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        if (!(option->state & State_On))
            return;
        // A tick in the box's place, in the item's text colour.
        const QRectF r = QRectF(option->rect).adjusted(2, 2, -2, -2);
        const QColor ink = option->palette.color(
            option->state & State_Selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(
            QPen(ink, qMax(1.5, r.width() / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[] = { { r.left(), r.top() + r.height() * 0.55 },
            { r.left() + r.width() * 0.38, r.bottom() - r.height() * 0.1 },
            { r.right(), r.top() + r.height() * 0.15 } };
        painter->drawPolyline(tick, 3);
        painter->restore();
    }
};

} // namespace

void useCheckMarks(QMenu *menu)
{
    // One style for every menu, made on the first call; it follows the
    // application's style.
    static QPointer<CheckMarkStyle> style;
    if (!style) {
        style = new CheckMarkStyle;
        style->setParent(QCoreApplication::instance());
    }
    menu->setStyle(style);
}

} // namespace controls
