// The tabbed dialog control: one row of equal tabs along the top, and a
// page area whose controls each belong to one tab. Only the current tab's
// controls are shown; the others can be neither seen nor reached.
#pragma once

#include <QPointer>
#include <QTabBar>
#include <QWidget>

#include <vector>

namespace controls {

class SSTab : public QWidget
{
    Q_OBJECT
public:
    explicit SSTab(QWidget *parent = nullptr);

    void setTabs(const QStringList &captions);
    void setTabHeight(int pixels);
    int Tabs() const;
    QString TabCaption(int tab) const;

    // Tab: the index of the current tab, from 0.
    int Tab() const { return m_tab; }

    // `control`, a child of this tab control, belongs to `tab`.
    void addToTab(int tab, QWidget *control);
    const std::vector<QPointer<QWidget>> &controlsOf(int tab) const;

    QTabBar *tabBar() const;

signals:
    // After the user has made another tab current.
    void Click(int PreviousTab);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showTab(int tab);

    class Bar;
    Bar *m_bar;
    int m_tab = 0;
    int m_tabHeight = 20;
    std::vector<std::vector<QPointer<QWidget>>> m_controls;
};

} // namespace controls
