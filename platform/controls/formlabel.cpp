#include "controls/formlabel.h"

#include <QEvent>
#include <QMouseEvent>

namespace controls {

FormLabel::FormLabel(QWidget *parent)
    : QLabel(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackStyle(false);
}

void FormLabel::setBackStyle(bool opaque, const QColor &color)
{
    setAutoFillBackground(opaque);
    // Our own role: a widget would otherwise paint with its container's.
    setBackgroundRole(QPalette::Window);
    if (opaque) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, color);
        setPalette(pal);
    }
}

void FormLabel::setFixedSingleBorder(bool on)
{
    if (on) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}

void FormLabel::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        fitToText();
}

void FormLabel::fitToText()
{
    const QFontMetrics fm(font());
    const int frame = frameWidth() * 2;
    const QString t = text().isEmpty() ? QStringLiteral(" ") : text();
    resize(fm.horizontalAdvance(t) + frame, fm.height() + frame);
}

void FormLabel::setCaption(const QString &text)
{
    setText(text);
    if (m_autoSize)
        fitToText();
}

void FormLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void FormLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_autoSize)
        fitToText();
}

} // namespace controls
