#include "controls/label.h"

#include "controls/datacontrol.h"
#include "controls/sstab.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QPainter>
#include <QWidget>
#include <qdrawutil.h>

namespace controls {

namespace {

QList<Label *> labelsOf(QWidget *container)
{
    return container->findChildren<Label *>(Qt::FindDirectChildrenOnly);
}

// A label as assistive technology sees it: static text named by what it
// shows, a child of its container.
class LabelAccessible : public QAccessibleObject
{
public:
    explicit LabelAccessible(Label *label)
        : QAccessibleObject(label)
    {
    }
    Label *label() const { return static_cast<Label *>(object()); }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(label()->container());
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? label()->text() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !label()->isShown();
        s.readOnly = true;
        return s;
    }
    QRect rect() const override
    {
        const QRect r = label()->geometry();
        return QRect(label()->container()->mapToGlobal(r.topLeft()), r.size());
    }
};

// A picture box or tab control: its child windows, then the labels it draws.
class ContainerAccessible : public QAccessibleWidget
{
public:
    explicit ContainerAccessible(QWidget *w)
        : QAccessibleWidget(w)
    {
    }
    int childCount() const override
    {
        return QAccessibleWidget::childCount() + int(labelsOf(widget()).size());
    }
    QAccessibleInterface *child(int index) const override
    {
        const int windows = QAccessibleWidget::childCount();
        if (index < windows)
            return QAccessibleWidget::child(index);
        const auto labels = labelsOf(widget());
        return index - windows < labels.size()
            ? QAccessible::queryAccessibleInterface(labels[index - windows])
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (auto *l = child ? qobject_cast<Label *>(child->object()) : nullptr) {
            const auto at = labelsOf(widget()).indexOf(l);
            return at < 0 ? -1 : QAccessibleWidget::childCount() + int(at);
        }
        return QAccessibleWidget::indexOfChild(child);
    }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("controls::Label"))
        return new LabelAccessible(static_cast<Label *>(object));
    if (className == QLatin1String("controls::PictureBox")
        || className == QLatin1String("controls::SSTab"))
        return new ContainerAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installLabelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

Label::Label(QWidget *container, int tab)
    : QObject(container)
    , m_tab(tab)
    , m_font(container->font())
{
    installLabelAccessibility();
}

QWidget *Label::container() const
{
    return static_cast<QWidget *>(parent());
}

bool Label::isShown() const
{
    if (!container()->isVisible())
        return false;
    auto *tabs = qobject_cast<SSTab *>(container());
    return !tabs || tabs->Tab() == m_tab;
}

void Label::repaint(const QRect &old)
{
    container()->update(old.united(m_geometry));
}

void Label::setGeometry(const QRect &rect)
{
    const QRect old = m_geometry;
    m_geometry = rect;
    repaint(old);
}

void Label::setFont(const QFont &font)
{
    m_font = font;
    if (m_autoSize)
        fitToText();
    repaint(m_geometry);
}

void Label::setBackStyle(bool opaque, const QColor &color)
{
    m_opaque = opaque;
    m_backColor = color;
    repaint(m_geometry);
}

void Label::setFixedSingleBorder(bool on)
{
    m_border = on;
    if (m_autoSize)
        fitToText();
    repaint(m_geometry);
}

void Label::setForeColor(const QColor &color)
{
    m_foreColor = color;
    repaint(m_geometry);
}

void Label::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    repaint(m_geometry);
}

void Label::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        fitToText();
}

void Label::fitToText()
{
    const QFontMetrics fm(m_font);
    const int frame = m_border ? 2 : 0;
    const QString t = m_text.isEmpty() ? QStringLiteral(" ") : m_text;
    setGeometry(
        QRect(m_geometry.topLeft(), QSize(fm.horizontalAdvance(t) + frame, fm.height() + frame)));
}

void Label::setCaption(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (m_autoSize)
        fitToText();
    repaint(m_geometry);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Label::bind(DataControl *source, const QString &field)
{
    m_field = field;
    m_source = source;
    if (source)
        source->addBoundLabel(this);
}

void Label::showValue(const std::optional<QString> &value)
{
    setCaption(value ? *value : m_nullText);
}

void Label::paint(QPainter &painter) const
{
    const QColor ink
        = m_foreColor.isValid() ? m_foreColor : container()->palette().color(QPalette::WindowText);
    if (m_opaque)
        painter.fillRect(m_geometry, m_backColor);
    QRect inner = m_geometry;
    if (m_border) {
        qDrawPlainRect(&painter, m_geometry, ink, 1);
        inner.adjust(1, 1, -1, -1);
        // Text beside a border keeps half an "x" away from it; centred text
        // (every value box) stands beside neither.
        if (m_alignment & (Qt::AlignLeft | Qt::AlignRight)) {
            const int indent = QFontMetrics(m_font).horizontalAdvance(u'x') / 2;
            if (m_alignment & Qt::AlignLeft)
                inner.setLeft(inner.left() + indent);
            if (m_alignment & Qt::AlignRight)
                inner.setRight(inner.right() - indent);
        }
    }
    if (m_text.isEmpty() || (m_source && m_source->holdsValues()))
        return;
    painter.setFont(m_font);
    painter.setPen(ink);
    painter.drawText(inner, int(m_alignment) | Qt::TextHideMnemonic, m_text);
}

void Label::paintAll(QWidget *container, QPainter &painter, int tab)
{
    painter.save();
    painter.setClipping(false);
    for (Label *l : labelsOf(container))
        if (l->tab() == tab)
            l->paint(painter);
    painter.restore();
}

} // namespace controls
