// A window's design as data, the way a form file holds it: one row per
// control with its name, kind, container and place in twips, caption, font
// and the few properties that differ from the defaults.
//
// Rows are listed back to front: within one container a later row stands in
// front of an earlier one. Labels on a picture box or a tab control are
// drawn by that container, beneath its child windows.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace design {

enum class Kind {
    Label, // a static caption
    ValueBox, // a label bound to a field of a data control
    CommandButton,
    PictureBox,
    Frame,
    TabControl,
    DataControl,
    StatusBar,
};

struct Font
{
    QString name; // empty: the window's font
    double size = 0; // points
    bool underline = false;
};

struct Panel
{
    int width = 0; // twips
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct Row
{
    QString name;
    int index = -1; // member of a control array when >= 0
    Kind kind = Kind::Label;
    QString container; // empty: the window itself
    int tab = -1; // the owning tab, for controls on a tab control
    int left = 0, top = 0, width = 0, height = 0; // twips
    QString caption;
    Font font;
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
    // Focus: controls that are tab stops take it in TabIndex order.
    int tabIndex = -1;
    bool tabStop = false;
    // Command buttons.
    bool cancel = false;
    // Picture boxes: the image shown (a resource path).
    QString picture;
    // Tab controls.
    QStringList tabCaptions;
    int tabHeight = 0; // twips
    // Data controls.
    QString recordSource;
    // Status bars.
    std::vector<Panel> panels;
};

struct Window
{
    QString caption;
    int clientWidth = 0, clientHeight = 0; // twips
    std::vector<Row> rows;
};

// A design that cannot be built; the message names the row.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message);
};

// A row with its name, kind and place (twips); on the window itself unless
// a container (and, on a tab control, a tab) is given.
Row row(const char *name, Kind kind, int left, int top, int width, int height,
    const char *container = "", int tab = -1);

// The name by which a control is found: "Label0(15)" for a member.
QString key(const QString &name, int index = -1);
inline QString key(const Row &row)
{
    return key(row.name, row.index);
}

// Throws Error for a row whose name repeats, whose container is not an
// earlier picture box or tab control (or whose tab is not one of the tab
// control's), or whose data source is not a data control of the window.
void check(const Window &window);

// The rows held by `container`, back to front.
std::vector<const Row *> rowsIn(const Window &window, const QString &container);

// The fields of the labels bound to `dataControl`, each once, in row order:
// what the data control asks its table for.
QStringList boundFields(const Window &window, const QString &dataControl);

} // namespace design
