// The runtime's picture box: a sunken box that shows its picture at the
// picture's own size from the inner top-left corner, clipped at the inner
// edges, and draws its labels over it. When it is a tab stop it takes the
// focus from the Tab key (never from a click) but shows no mark.
#pragma once

#include <QFrame>
#include <QPixmap>

namespace controls {

class PictureBox : public QFrame
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    // The picture from an image file (or resource), read when it is first
    // needed: a box on a page that is never shown costs nothing.
    void setPictureFile(const QString &path);
    const QPixmap &picture() const;
    void setTabStop(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    mutable QPixmap m_picture;
    mutable QString m_pictureFile;
};

} // namespace controls
