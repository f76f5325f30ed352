#include "controls/picturebox.h"

#include "controls/label.h"
#include "controls/logging.h"
#include "forms/picture.h"

#include <QPainter>

#include <array>

namespace controls {

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setTabStop(false);
    installLabelAccessibility();
}

void PictureBox::setPictureFile(const QString &path)
{
    m_pictureFile = path;
    m_shown = QImage();
    m_cutFor = QSize();
    update();
}

const QImage &PictureBox::shownPicture() const
{
    // Cut anew whenever the box has another size than at the last cut.
    const QSize inner = contentsRect().size();
    if (!m_pictureFile.isEmpty() && inner != m_cutFor) {
        m_cutFor = inner;
        const QImage image = forms::LoadPicture(m_pictureFile);
        if (image.isNull())
            qCWarning(lcControls).noquote() << "cannot load picture" << m_pictureFile;
        m_shown = shownPart(image, inner);
    }
    return m_shown;
}

void PictureBox::setTabStop(bool on)
{
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QImage &picture = shownPicture();
    if (!picture.isNull()) {
        const QRect inner = contentsRect();
        p.setClipRect(inner);
        p.drawImage(inner.topLeft(), picture);
    }
    Label::paintAll(this, p);
}

QImage shownPart(const QImage &image, const QSize &size)
{
    const QRect part = QRect(QPoint(0, 0), size).intersected(image.rect());
    if (part.isEmpty())
        return {};
    if (image.format() != QImage::Format_Indexed8 || image.hasAlphaChannel())
        return image.copy(part).convertToFormat(
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);

    // An 8-bit picture straight through its palette into the part shown,
    // as Qt converts one: no palette is a grey ramp, an index beyond the
    // palette is black.
    std::array<QRgb, 256> palette;
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < 256; ++i)
        palette[i] = table.isEmpty() ? qRgb(i, i, i) : i < table.size() ? table[i] : qRgb(0, 0, 0);
    QImage out(part.size(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    for (int y = 0; y < part.height(); ++y) {
        const uchar *from = image.constScanLine(y);
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            to[x] = palette[from[x]] | 0xff000000u;
    }
    return out;
}

} // namespace controls
