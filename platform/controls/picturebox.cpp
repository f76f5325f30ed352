#include "controls/picturebox.h"

#include "controls/label.h"
#include "controls/logging.h"

#include <QPainter>

namespace controls {

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setTabStop(false);
    installLabelAccessibility();
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_pictureFile.clear();
    m_picture = picture;
    update();
}

void PictureBox::setPictureFile(const QString &path)
{
    m_picture = QPixmap();
    m_pictureFile = path;
    update();
}

const QPixmap &PictureBox::picture() const
{
    if (!m_pictureFile.isEmpty()) {
        m_picture = QPixmap(m_pictureFile);
        if (m_picture.isNull())
            qCWarning(lcControls).noquote() << "cannot load picture" << m_pictureFile;
        m_pictureFile.clear();
    }
    return m_picture;
}

void PictureBox::setTabStop(bool on)
{
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    if (!picture().isNull()) {
        const QRect inner = contentsRect();
        p.setClipRect(inner);
        p.drawPixmap(inner.topLeft(), picture());
    }
    Label::paintAll(this, p);
}

} // namespace controls
