// The About window: series, product, version, the maker's lines with the
// web link, and a Cancel button that closes it. Built anew for every
// showing and deleted when it is unloaded.
#pragma once

#include "controls/build.h"
#include "forms/runtime.h"

namespace controls {
class CommandButton;
class FormLabel;
} // namespace controls

namespace about {

class Form2 : public forms::Form
{
    Q_OBJECT
public:
    // `owner`, if given, is the window it stays in front of on the screen;
    // it has no task-bar button of its own either way.
    explicit Form2(QWidget *owner = nullptr);

    controls::CommandButton *Command1 = nullptr;
    // A member of the control array Label13; a missing index is a run-time
    // error.
    controls::FormLabel *Label13(qint16 index) const;

    // Every control by name: "Label3", "Label13(7)", "Frame1", ...
    QWidget *control(const QString &key) const { return m_controls.windows.value(key); }

    // Event procedures.
    void Command1_Click();
    void Label13_Click(qint16 Index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    controls::Controls m_controls;
};

} // namespace about
