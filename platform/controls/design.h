// A window's design as data, the way a form file holds it: one row per
// control with its name, kind, container and place in twips, caption, font
// and the few properties that differ from the defaults. build() turns the
// rows into widgets.
#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QWidget>

#include <vector>

namespace controls {

enum class Kind { Label, ValueBox, CommandButton, PictureBox, Frame };

struct FontDesign
{
    QString name; // empty: the window's font
    double size = 0; // points
    bool underline = false;
    int charset = 0; // 128: the Japanese character set
};

struct ControlDesign
{
    QString name;
    int index = -1; // member of a control array when >= 0
    Kind kind = Kind::Label;
    QString container; // empty: the window itself
    int tab = -1; // the owning tab, for controls on a tab control
    int left = 0, top = 0, width = 0, height = 0; // twips
    QString caption;
    FontDesign font;
    // Labels and value boxes.
    QString dataSource; // a data control's name
    QString dataField;
    bool autoSize = false;
    bool opaque = false; // BackStyle 1
    QColor backColor;
    QColor foreColor;
    bool border = false; // BorderStyle 1
    Qt::Alignment alignment = Qt::AlignLeft;
    QString nullText;
    // Focus.
    int tabIndex = -1;
    bool tabStop = false;
    // Command buttons.
    bool cancel = false;
};

// The name by which a built control is found: "Label0(15)" for a member.
QString controlKey(const QString &name, int index = -1);

// Builds the rows into `form`, front to back in the order of `zOrder` if
// given, else later rows in front. Containers named in rows must be in
// `controls` already (or be built by an earlier row). Returns the map of
// every control by its key, `controls` included.
QHash<QString, QWidget *> build(
    QWidget *form, const std::vector<ControlDesign> &rows, QHash<QString, QWidget *> controls = {});

// Applies a design font to a widget.
void applyFont(QWidget *widget, const FontDesign &font);

} // namespace controls
