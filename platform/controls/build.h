// Builds a window's controls from its design rows, back to front, into the
// window's client area; sets the tab order from the rows' TabIndex and
// registers the data controls with the window. A row that cannot be
// resolved is refused with design::Error before anything is made.
#pragma once

#include "design/design.h"

#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

namespace forms {
class Form;
}

namespace controls {

class Label;

// Every control by its key ("Label0(15)", "Picture1"): child windows, and
// the labels that picture boxes and tab controls draw.
struct Controls
{
    QHash<QString, QWidget *> windows;
    QHash<QString, Label *> labels;

    template <typename T> T *get(const QString &key) const
    {
        return qobject_cast<T *>(windows.value(key));
    }
};

Controls build(forms::Form &form, const design::Window &window);

// Applies a design font to a font.
QFont designFont(QFont font, const design::Font &design);

} // namespace controls
