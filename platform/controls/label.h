// The runtime's label on a picture box or a tab page: a caption, or the
// value of a field of the current record when bound to a data control. It
// is no window: its container draws it, beneath the container's child
// windows and in the order the labels were made, so a click on it goes to
// the container as if the label were not there. It never takes the focus
// and offers nothing to select or edit; assistive technology sees it as a
// static text child of its container.
#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <optional>

class QPainter;
class QWidget;

namespace controls {

class DataControl;

class Label : public QObject
{
    Q_OBJECT
public:
    // `container` draws the label; `tab`, on a tab control, is the tab whose
    // page shows it.
    explicit Label(QWidget *container, int tab = -1);

    QWidget *container() const;
    int tab() const { return m_tab; }
    // Seen on the screen: its container is, and its tab is current.
    bool isShown() const;

    // In the container's coordinates, in pixels.
    QRect geometry() const { return m_geometry; }
    void setGeometry(const QRect &rect);

    // The container's font with the design's face and size.
    QFont font() const { return m_font; }
    void setFont(const QFont &font);

    // Transparent (BackStyle 0) or opaque with `color` (BackStyle 1).
    void setBackStyle(bool opaque, const QColor &color = {});
    bool isOpaque() const { return m_opaque; }
    QColor backColor() const { return m_backColor; }
    // BorderStyle 1: a fixed single border around the box.
    void setFixedSingleBorder(bool on);
    bool hasBorder() const { return m_border; }
    // Invalid: the container's text colour.
    void setForeColor(const QColor &color);
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }
    // AutoSize: the label takes the extent of its caption on one line,
    // Left and Top fixed.
    void setAutoSize(bool on);
    bool autoSize() const { return m_autoSize; }

    // DataSource / DataField. The caption stays until the first value.
    void bind(DataControl *source, const QString &field);
    const QString &dataField() const { return m_field; }
    // What the label shows for a field that holds no value.
    void setNullText(const QString &text) { m_nullText = text; }

    // Called by the data control with the field's text (nullopt: NULL).
    void showValue(const std::optional<QString> &value);

    void setCaption(const QString &text);
    const QString &text() const { return m_text; }

    // Draws the label with the container's painter. While its data control
    // holds the values back, the box is drawn without its caption.
    void paint(QPainter &painter) const;
    // Asks the container to draw the label again.
    void redraw() { repaint(m_geometry); }

    // Draws the labels of `container` whose tab is `tab` (or that belong to
    // no tab), back to front.
    static void paintAll(QWidget *container, QPainter &painter, int tab = -1);

private:
    void fitToText();
    void repaint(const QRect &old);

    int m_tab;
    QRect m_geometry;
    QFont m_font;
    QString m_text;
    bool m_opaque = false;
    QColor m_backColor;
    QColor m_foreColor;
    bool m_border = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool m_autoSize = false;
    QString m_field;
    QString m_nullText;
    QPointer<DataControl> m_source;
};

// Makes the labels of picture boxes and tab controls known to assistive
// technology; done once, by the first label made.
void installLabelAccessibility();

} // namespace controls
