#include "labels.h"

#include "viewer/layout/form1_design.h"

#include <stdexcept>

namespace drawgen {

std::vector<const design::Row *> pageLabels(Drawing drawing)
{
    const design::Window &form = viewer::layout::form1();
    const QString picture = QStringLiteral(":/assets/%1.bmp").arg(QLatin1String(stem(drawing)));
    for (const design::Row &row : form.rows)
        if (row.kind == design::Kind::PictureBox && row.picture == picture)
            return design::rowsIn(form, row.name);
    throw std::runtime_error("no picture box shows " + picture.toStdString());
}

} // namespace drawgen
