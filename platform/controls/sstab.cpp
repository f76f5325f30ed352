#include "controls/sstab.h"

#include "controls/label.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

namespace controls {

// Tabs of equal width filling the row, of the control's tab height.
class SSTab::Bar : public QTabBar
{
public:
    explicit Bar(SSTab *owner)
        : QTabBar(owner)
        , m_owner(owner)
    {
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        const int n = qMax(1, count());
        const int w = m_owner->width() / n + (index < m_owner->width() % n ? 1 : 0);
        return QSize(w, m_owner->m_tabHeight);
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    // A click on a tab brings the focus to the tab control; nothing else
    // on the control takes it from a click.
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && tabAt(event->position().toPoint()) >= 0)
            setFocus(Qt::MouseFocusReason);
        QTabBar::mousePressEvent(event);
    }

private:
    SSTab *m_owner;
};

SSTab::SSTab(QWidget *parent)
    : QWidget(parent)
    , m_bar(new Bar(this))
{
    m_bar->setDrawBase(false);
    m_bar->setExpanding(true);
    m_bar->setUsesScrollButtons(false);
    m_bar->setElideMode(Qt::ElideNone);
    // A click on a tab takes the focus, as does the Tab key; a click on a
    // page, or on anything on it, does not.
    m_bar->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_bar);
    setFocusPolicy(Qt::TabFocus);
    // BackColor: the button face, as the window's own ground.
    setBackgroundRole(QPalette::Button);
    installLabelAccessibility();
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        if (index < 0 || index == m_tab)
            return;
        const int previous = m_tab;
        showTab(index);
        emit Click(previous);
    });
}

void SSTab::setTabs(const QStringList &captions)
{
    const QSignalBlocker block(m_bar);
    while (m_bar->count())
        m_bar->removeTab(0);
    for (const auto &c : captions)
        m_bar->addTab(c);
    m_controls.assign(captions.size(), {});
    m_tab = 0;
    m_bar->setCurrentIndex(0);
    m_bar->setGeometry(0, 0, width(), m_tabHeight);
}

void SSTab::setTabHeight(int pixels)
{
    m_tabHeight = pixels;
    m_bar->setGeometry(0, 0, width(), m_tabHeight);
}

QTabBar *SSTab::tabBar() const
{
    return m_bar;
}

int SSTab::Tabs() const
{
    return m_bar->count();
}

QString SSTab::TabCaption(int tab) const
{
    return m_bar->tabText(tab);
}

void SSTab::addToTab(int tab, QWidget *control)
{
    m_controls.at(std::size_t(tab)).emplace_back(control);
    control->setVisible(tab == m_tab);
}

const std::vector<QPointer<QWidget>> &SSTab::controlsOf(int tab) const
{
    return m_controls.at(std::size_t(tab));
}

void SSTab::showTab(int tab)
{
    // Hide the old page first, so the focus never rests on a hidden control.
    for (std::size_t t = 0; t < m_controls.size(); ++t)
        if (int(t) != tab)
            for (auto &c : m_controls[t])
                if (c)
                    c->hide();
    m_tab = tab;
    for (auto &c : m_controls.at(std::size_t(tab)))
        if (c)
            c->show();
    update(); // the labels of the page
}

void SSTab::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = QRect(0, m_tabHeight - 2, width(), height() - m_tabHeight + 2);
    opt.shape = QTabBar::RoundedNorth;
    opt.tabBarSize = m_bar->size();
    opt.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
    // The style fills the page lighter than the button face; the page is
    // the control's BackColor inside the frame's outline, its inner
    // highlight and, at the bottom, its shadow.
    p.fillRect(opt.rect.adjusted(2, 2, -2, -3), palette().color(QPalette::Button));
    Label::paintAll(this, p, m_tab);
}

void SSTab::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_bar->setGeometry(0, 0, width(), m_tabHeight);
}

} // namespace controls
