// A label standing on the window itself: a window of its own, so that it
// can take a click (the About window's link). Never takes the focus,
// offers nothing to select or edit.
#pragma once

#include <QLabel>

namespace controls {

class FormLabel : public QLabel
{
    Q_OBJECT
public:
    explicit FormLabel(QWidget *parent = nullptr);

    // Transparent (BackStyle 0) or opaque with `color` (BackStyle 1).
    void setBackStyle(bool opaque, const QColor &color = {});
    // BorderStyle 1: a fixed single border around the box.
    void setFixedSingleBorder(bool on);
    // AutoSize: the label takes the extent of its caption on one line,
    // Left and Top fixed.
    void setAutoSize(bool on);
    bool autoSize() const { return m_autoSize; }

    void setCaption(const QString &text);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitToText();

    bool m_autoSize = false;
};

} // namespace controls
