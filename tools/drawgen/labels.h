#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace drawgen {

// Where the page puts its boxes and captions over a drawing, in twips from
// the drawing's top-left corner (15 twips to a pixel). The drawings keep
// their ground free there; the overlay render shows them.
struct PageLabel
{
    const char *name;
    int left, top, width, height;
    bool valueBox; // opaque white box with a border, else a transparent caption
    QString text;

    QRect pixels() const { return QRect(left / 15, top / 15, width / 15, height / 15); }
};

enum class Drawing { Bolt, Nut, Joint };

const std::vector<PageLabel> &pageLabels(Drawing drawing);

} // namespace drawgen
