#include "controls/commandbutton.h"

#include <QKeyEvent>
#include <QShortcut>

namespace controls {

CommandButton::CommandButton(QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void CommandButton::setCancel(bool on)
{
    m_cancel = on;
    if (on && !m_escape) {
        // Window-wide: Esc reaches it from any control of the window, also
        // while the button lies hidden behind another control.
        m_escape = new QShortcut(
            QKeySequence(Qt::Key_Escape), window(), nullptr, nullptr, Qt::WindowShortcut);
        connect(m_escape, &QShortcut::activated, this, [this] {
            if (isEnabled())
                click();
        });
    }
    if (m_escape)
        m_escape->setEnabled(on);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace controls
