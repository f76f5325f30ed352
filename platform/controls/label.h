// The runtime's label: a caption, or the value of a field of the current
// record when bound to a data control. Never takes the focus, offers
// nothing to select or edit.
#pragma once

#include <QLabel>

#include <optional>

namespace controls {

class DataControl;

class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(QWidget *parent = nullptr);

    // Transparent (BackStyle 0) or opaque with `color` (BackStyle 1).
    void setBackStyle(bool opaque, const QColor &color = {});
    // BorderStyle 1: a fixed single border around the box.
    void setFixedSingleBorder(bool on);
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

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitToText();

    bool m_autoSize = false;
    QString m_field;
    QString m_nullText;
};

} // namespace controls
