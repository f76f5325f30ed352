#pragma once
// Access files made by Access itself. They stay outside the project, in the
// shared folder beside it (CMake cache variable VORLANE_SHARED_DIR); a clone
// without that folder skips the cases that read them.
#include <QFileInfo>
#include <QString>
#include <QTest>

namespace accessfiles {

inline QString dir()
{
    return QStringLiteral(VORLANE_SHARED_DIR "/testdata/access/");
}

inline bool present()
{
    return QFileInfo(dir()).isDir();
}

inline QByteArray skipReason()
{
    return QStringLiteral("no folder %1 with the Access files made by Access")
        .arg(QFileInfo(dir()).absoluteFilePath())
        .toLocal8Bit();
}

} // namespace accessfiles

// Skips the test function (or, in a _data function, all its rows) where the
// Access files are not there.
#define SKIP_WITHOUT_ACCESS_FILES()                                                                \
    do {                                                                                           \
        if (!accessfiles::present())                                                               \
            QSKIP(accessfiles::skipReason().constData());                                          \
    } while (false)
