// The status bar: panels of fixed width along the bottom of the window,
// each with a settable text.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace controls {

class StatusBar : public QWidget
{
    Q_OBJECT
public:
    class Panel
    {
    public:
        const QString &Text() const { return m_text; }
        void setText(const QString &text);
        int widthPx() const { return m_width; }
        Qt::Alignment alignment() const { return m_alignment; }

    private:
        friend class StatusBar;
        StatusBar *m_bar = nullptr;
        QString m_text;
        int m_width = 0;
        Qt::Alignment m_alignment = Qt::AlignLeft;
    };

    class PanelCollection
    {
    public:
        // Panels are numbered from 1. Another number raises a run-time error.
        Panel &Item(qint16 index);
        int Count() const { return int(m_bar->m_panels.size()); }

    private:
        friend class StatusBar;
        explicit PanelCollection(StatusBar *bar)
            : m_bar(bar)
        {
        }
        StatusBar *m_bar;
    };

    explicit StatusBar(QWidget *parent = nullptr);

    void addPanel(int widthPx, Qt::Alignment alignment = Qt::AlignLeft);
    PanelCollection Panels() { return PanelCollection(this); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<Panel> m_panels;
};

} // namespace controls
