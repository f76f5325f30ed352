// Reading pictures: the runtime's LoadPicture.
#pragma once

#include <QImage>
#include <QString>

namespace forms {

// The image in `path` (a file or a resource), read as the format its name
// ends in (".bmp", ".png"). Only that format's reader runs: left to guess,
// Qt first loads every image plugin installed to ask each of them. A file
// that cannot be read gives a null image.
QImage LoadPicture(const QString &path);

} // namespace forms
