#include "controls/picturebox.h"

#include <QPainter>

namespace controls {

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setTabStop(false);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::setTabStop(bool on)
{
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter p(this);
    const QRect inner = contentsRect();
    p.setClipRect(inner);
    p.drawPixmap(inner.topLeft(), m_picture);
}

} // namespace controls
