// The JIS data set (data/jis-dimensions.csv) as the database writer reads
// it: the header and every row, as text.
#pragma once

#include "csv.h"

#include <QFile>
#include <QStringList>

namespace testing {

struct DataSet
{
    QStringList header;
    QList<QStringList> rows;

    QString value(qsizetype row, const QString &column) const
    {
        return rows.at(row).at(header.indexOf(column));
    }
};

// Fatal when the file does not read: every expectation hangs on it.
inline DataSet readDataSet()
{
    QFile file(QStringLiteral(VORLANE_SOURCE_DIR "/data/jis-dimensions.csv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(file.fileName()));
    const QByteArray text = file.readAll();
    DataSet d;
    try {
        for (const csv::Record &record : csv::parse(std::string_view(text.data(), text.size()))) {
            QStringList fields;
            for (const std::string &f : record.fields)
                fields << QString::fromStdString(f);
            if (d.header.isEmpty())
                d.header = fields;
            else
                d.rows << fields;
        }
    } catch (const csv::Error &e) {
        qFatal("%s:%d: %s", qPrintable(file.fileName()), e.line(), e.what());
    }
    return d;
}

} // namespace testing
