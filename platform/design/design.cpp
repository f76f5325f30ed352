#include "design/design.h"

#include <QHash>
#include <QSet>

namespace design {

Error::Error(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

Row row(const char *name, Kind kind, int left, int top, int width, int height,
    const char *container, int tab)
{
    Row r;
    r.name = QString::fromUtf8(name);
    r.kind = kind;
    r.left = left, r.top = top, r.width = width, r.height = height;
    r.container = QString::fromUtf8(container);
    r.tab = tab;
    return r;
}

QString key(const QString &name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

void check(const Window &window)
{
    QHash<QString, const Row *> seen;
    QHash<QString, bool> arrays; // name → used with an index
    const auto fail = [](const Row &row, const QString &why) {
        throw Error(QStringLiteral("%1: %2").arg(key(row), why));
    };
    for (const Row &row : window.rows) {
        if (row.name.isEmpty())
            fail(row, QStringLiteral("no name"));
        if (seen.contains(key(row)))
            fail(row, QStringLiteral("the name repeats"));
        const auto array = arrays.constFind(row.name);
        if (array != arrays.cend() && *array != (row.index >= 0))
            fail(row, QStringLiteral("the name is both a control and a control array"));
        if (!row.container.isEmpty()) {
            const Row *c = seen.value(row.container);
            if (!c || (c->kind != Kind::PictureBox && c->kind != Kind::TabControl))
                fail(row, QStringLiteral("no container %1").arg(row.container));
            if (c->kind == Kind::TabControl && (row.tab < 0 || row.tab >= c->tabCaptions.size()))
                fail(row, QStringLiteral("no tab %1 on %2").arg(row.tab).arg(row.container));
        }
        if (row.tab >= 0
            && (row.container.isEmpty() || seen.value(row.container)->kind != Kind::TabControl))
            fail(row, QStringLiteral("a tab but no tab control"));
        seen.insert(key(row), &row);
        arrays.insert(row.name, row.index >= 0);
    }
    for (const Row &row : window.rows) {
        if (row.dataSource.isEmpty())
            continue;
        const Row *source = seen.value(row.dataSource);
        if (!source || source->kind != Kind::DataControl)
            fail(row, QStringLiteral("no data control %1").arg(row.dataSource));
    }
}

std::vector<const Row *> rowsIn(const Window &window, const QString &container)
{
    std::vector<const Row *> out;
    for (const Row &row : window.rows)
        if (row.container == container)
            out.push_back(&row);
    return out;
}

QStringList boundFields(const Window &window, const QString &dataControl)
{
    QStringList fields;
    for (const Row &row : window.rows)
        if (row.dataSource == dataControl && !row.dataField.isEmpty()
            && !fields.contains(row.dataField))
            fields << row.dataField;
    return fields;
}

} // namespace design
