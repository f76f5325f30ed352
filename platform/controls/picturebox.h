// The runtime's picture box: a sunken box that shows its picture at the
// picture's own size from the inner top-left corner, clipped at the inner
// edges, and draws its labels over it. When it is a tab stop it takes the
// focus from the Tab key (never from a click) but shows no mark.
#pragma once

#include <QFrame>
#include <QImage>

namespace controls {

class PictureBox : public QFrame
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The picture from an image file (or resource) of the format its name
    // ends in (".bmp", ".png"), read when it is first painted: a box on a
    // page that is never shown costs nothing. Only the part that the box
    // shows is kept.
    void setPictureFile(const QString &path);
    // The part of the picture that the box shows, ready to draw; null when
    // the file cannot be read.
    const QImage &shownPicture() const;
    void setTabStop(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_pictureFile;
    mutable QImage m_shown;
    mutable QSize m_cutFor; // the inner size m_shown was cut for
};

// The part of `image` from its top-left corner that a box of inner size
// `size` shows, in a format the painter draws without converting.
QImage shownPart(const QImage &image, const QSize &size);

} // namespace controls
