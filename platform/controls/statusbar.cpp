#include "controls/statusbar.h"

#include "forms/runtime.h"

#include <QPainter>
#include <QStyleOptionFrame>

namespace controls {

void StatusBar::Panel::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    m_bar->update();
}

StatusBar::Panel &StatusBar::PanelCollection::Item(qint16 index)
{
    if (index < 1 || index > Count())
        throw forms::RuntimeError(35600, QStringLiteral("インデックスが有効範囲にありません。"));
    return m_bar->m_panels[std::size_t(index - 1)];
}

StatusBar::StatusBar(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void StatusBar::addPanel(int widthPx, Qt::Alignment alignment)
{
    Panel p;
    p.m_bar = this;
    p.m_width = widthPx;
    p.m_alignment = alignment;
    m_panels.push_back(p);
    update();
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    int x = 2;
    for (const auto &panel : m_panels) {
        const QRect r(x, 2, panel.m_width - 2, height() - 3);
        QStyleOptionFrame opt;
        opt.initFrom(this);
        opt.rect = r;
        opt.lineWidth = 1;
        opt.midLineWidth = 0;
        opt.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Frame, &opt, &p, this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(
            r.adjusted(4, 0, -4, 0), int(panel.m_alignment | Qt::AlignVCenter), panel.m_text);
        x += panel.m_width;
    }
}

} // namespace controls
