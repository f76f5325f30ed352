// The main window: three pages of dimensioned drawings with value boxes
// bound to the dimension table, the navigation bar, the status bar, the
// menus and the hidden Cancel button.
#pragma once

#include "controls/build.h"
#include "forms/runtime.h"

class QAction;
class QMenu;
class QMenuBar;

namespace controls {
class CommandButton;
class DataControl;
class Label;
class PictureBox;
class SSTab;
class StatusBar;
} // namespace controls

namespace viewer {

class Form1 : public forms::Form
{
    Q_OBJECT
public:
    Form1();

    controls::SSTab *SSTab1 = nullptr;
    controls::PictureBox *Picture1 = nullptr;
    controls::PictureBox *Picture2 = nullptr;
    controls::PictureBox *Picture3 = nullptr;
    controls::StatusBar *StatusBar1 = nullptr;
    controls::DataControl *Data1 = nullptr;
    controls::CommandButton *Command1 = nullptr;

    QMenuBar *menuBar = nullptr;
    QMenu *File = nullptr;
    QAction *Quit = nullptr;
    QMenu *View = nullptr;
    QMenu *FrontTop = nullptr;
    QAction *FormTop_ON = nullptr;
    QAction *FormTop_OFF = nullptr;
    QMenu *Help = nullptr;
    QAction *About = nullptr;

    // The child windows by name ("Picture1", "Data1", ...) and the labels
    // the pages draw ("Label3", "Label0(15)", ...).
    QWidget *control(const QString &key) const { return m_controls.windows.value(key); }
    controls::Label *label(const QString &key) const { return m_controls.labels.value(key); }

    // The status bar's one operation.
    void setPanelText(qint16 panel, const QString &text);

    // Event procedures.
    void Command1_Click();
    void SSTab1_Click(qint16 PreviousTab);
    void Quit_Click();
    void FormTop_ON_Click();
    void FormTop_OFF_Click();
    void About_Click();

protected:
    void Form_Load() override;
    void Form_Unload(qint16 &Cancel) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();

    controls::Controls m_controls;
    bool m_firstShow = true;
};

// The texts of the status bar.
namespace status {
inline const QString boltText = QStringLiteral("JIS Ｍボルト M3～M130 [JIS B 1180(1988)]");
inline const QString nutText = QStringLiteral("JIS Ｍナット M3～M130 [JIS B 1181(1988)]");
inline const QString holeText = QStringLiteral("JIS M3～M130 座グリ及び穴寸法（参考値）");
inline const QString formTopText = QStringLiteral("FormTop");
} // namespace status

} // namespace viewer
