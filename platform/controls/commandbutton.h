// The runtime's command button. Enter and Space click the button that holds
// the focus; Esc clicks the window's Cancel button, whichever control holds
// the focus (see setCancel).
#pragma once

#include <QPushButton>

class QShortcut;

namespace controls {

class CommandButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CommandButton(QWidget *parent = nullptr);

    bool isCancel() const { return m_cancel; }
    // Makes this the Cancel button of its window: Esc clicks it while the
    // window is active, whichever of its controls holds the focus.
    void setCancel(bool on);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_cancel = false;
    QShortcut *m_escape = nullptr;
};

} // namespace controls
