#include "forms/picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace forms {

QImage LoadPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace forms
