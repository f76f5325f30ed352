// The design rows of both windows build into exactly the controls they
// name, where they name them; a row that cannot be resolved is refused,
// naming the row, in every build type.
#include "about/form2.h"
#include "about/form2_design.h"
#include "controls/build.h"
#include "controls/label.h"
#include "design/twips.h"
#include "forms/system.h"
#include "viewer/form1.h"
#include "viewer/layout/form1_design.h"

#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <functional>

using design::Kind;
using design::Row;

namespace {

class Blank : public forms::Form
{
};

Row row(const char *name, Kind kind, const char *container = "", int tab = -1)
{
    Row r;
    r.name = QString::fromLatin1(name);
    r.kind = kind;
    r.container = QString::fromLatin1(container);
    r.tab = tab;
    return r;
}

design::Window withRows(std::vector<Row> rows)
{
    design::Window w;
    w.rows = std::move(rows);
    return w;
}

// A valid window: a tab control with one tab, a picture box on it, a data
// control.
std::vector<Row> base()
{
    Row tabs = row("SSTab1", Kind::TabControl);
    tabs.tabCaptions = { QStringLiteral("a") };
    return { tabs, row("Picture1", Kind::PictureBox, "SSTab1", 0),
        row("Data1", Kind::DataControl) };
}

const struct
{
    const char *name;
    const design::Window &design;
} kWindows[] = {
    { "Form1", viewer::layout::form1() },
    { "Form2", about::layout::form2() },
};

const design::Window &windowNamed(const QString &name)
{
    for (const auto &w : kWindows)
        if (name == QLatin1String(w.name))
            return w.design;
    qFatal("no window %s", qPrintable(name));
}

// Labels and value boxes that overlap as designed. The link's top line lies
// over the foot of the mail line above it; the link stands in front and
// takes its click.
const struct
{
    const char *window, *back, *front;
} kOverlapsAsDesigned[] = {
    { "Form2", "Label12", "Label13(7)" },
};

bool overlapsAsDesigned(const QString &window, const QString &a, const QString &b)
{
    for (const auto &o : kOverlapsAsDesigned)
        if (window == QLatin1String(o.window)
            && ((a == QLatin1String(o.back) && b == QLatin1String(o.front))
                || (a == QLatin1String(o.front) && b == QLatin1String(o.back))))
            return true;
    return false;
}

bool isLabel(const Row &r)
{
    return r.kind == Kind::Label || r.kind == Kind::ValueBox;
}

QRect twips(const Row &r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

// A picture box's sunken border and a tab page's frame: 2 px.
constexpr int kBorder = 2 * design::kTwipsPerPixel;

// Where the labels of `container` may lie, in the twips their rows are
// given in: a picture box's inside of its border (their origin), a tab
// page below the tabs and inside its frame, the window's client area.
QRect clientRect(const design::Window &w, const QString &container)
{
    if (container.isEmpty())
        return QRect(0, 0, w.clientWidth, w.clientHeight);
    for (const Row &r : w.rows) {
        if (design::key(r) != container)
            continue;
        if (r.kind == Kind::TabControl)
            return QRect(
                kBorder, r.tabHeight, r.width - 2 * kBorder, r.height - r.tabHeight - kBorder);
        return QRect(0, 0, r.width - 2 * kBorder, r.height - 2 * kBorder);
    }
    qFatal("no container %s", qPrintable(container));
}

// The labels and value boxes shown together: those of one container and tab.
std::vector<const Row *> labelsOn(const design::Window &w, const QString &container, int tab)
{
    std::vector<const Row *> out;
    for (const Row *r : design::rowsIn(w, container))
        if (isLabel(*r) && r->tab == tab)
            out.push_back(r);
    return out;
}

QString describe(const Row &r)
{
    return QStringLiteral("%1 (%2,%3 %4x%5)")
        .arg(design::key(r))
        .arg(r.left)
        .arg(r.top)
        .arg(r.width)
        .arg(r.height);
}

// One data row per container and tab of either window that holds labels.
void addPagesWithLabels()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("container");
    QTest::addColumn<int>("tab");
    for (const auto &w : kWindows) {
        std::vector<std::pair<QString, int>> pages;
        for (const Row &r : w.design.rows) {
            const std::pair<QString, int> page(r.container, r.tab);
            if (!isLabel(r) || std::find(pages.begin(), pages.end(), page) != pages.end())
                continue;
            pages.push_back(page);
            const QString where = r.container.isEmpty() ? QStringLiteral("window") : r.container;
            QTest::addRow("%s %s%s", w.name, qPrintable(where),
                r.tab < 0 ? "" : qPrintable(QStringLiteral(" tab %1").arg(r.tab)))
                << QString::fromLatin1(w.name) << r.container << r.tab;
        }
    }
}

} // namespace

Q_DECLARE_METATYPE(Row)

class TstDesign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        forms::installFontSubstitutes();
    }

    void bothWindows_buildEveryRowWhereItSays()
    {
        viewer::Form1 form1;
        about::Form2 form2;
        const struct
        {
            const design::Window &design;
            std::function<QWidget *(const QString &)> window;
            std::function<controls::Label *(const QString &)> label;
            QWidget *client;
        } windows[] = {
            { viewer::layout::form1(), [&](const QString &k) { return form1.control(k); },
                [&](const QString &k) { return form1.label(k); }, form1.client() },
            { about::layout::form2(), [&](const QString &k) { return form2.control(k); },
                [](const QString &) { return nullptr; }, form2.client() },
        };
        for (const auto &w : windows) {
            design::check(w.design);
            for (const Row &r : w.design.rows) {
                const QString key = design::key(r);
                QObject *container = nullptr;
                if (controls::Label *l = w.label(key))
                    container = l->container();
                else if (QWidget *c = w.window(key))
                    container = c->parentWidget();
                QVERIFY2(container, qPrintable(key));
                QCOMPARE(container,
                    r.container.isEmpty() ? w.client
                                          : static_cast<QObject *>(w.window(r.container)));
            }
        }
    }

    void labels_lieInsideTheirContainer_data() { addPagesWithLabels(); }
    void labels_lieInsideTheirContainer()
    {
        QFETCH(QString, window);
        QFETCH(QString, container);
        QFETCH(int, tab);
        const design::Window &w = windowNamed(window);
        const QRect client = clientRect(w, container);
        QStringList outside;
        for (const Row *r : labelsOn(w, container, tab))
            if (!client.contains(twips(*r)))
                outside << describe(*r);
        QVERIFY2(outside.isEmpty(),
            qPrintable(QStringLiteral("outside %1,%2 %3x%4: %5")
                           .arg(client.left())
                           .arg(client.top())
                           .arg(client.width())
                           .arg(client.height())
                           .arg(outside.join(QStringLiteral(", ")))));
    }

    void labels_overlapNoOther_data() { addPagesWithLabels(); }
    void labels_overlapNoOther()
    {
        QFETCH(QString, window);
        QFETCH(QString, container);
        QFETCH(int, tab);
        const auto labels = labelsOn(windowNamed(window), container, tab);
        QStringList overlapping;
        for (auto a = labels.begin(); a != labels.end(); ++a)
            for (auto b = a + 1; b != labels.end(); ++b)
                if (twips(**a).intersects(twips(**b))
                    && !overlapsAsDesigned(window, design::key(**a), design::key(**b)))
                    overlapping << describe(**a) + QStringLiteral(" and ") + describe(**b);
        QVERIFY2(overlapping.isEmpty(), qPrintable(overlapping.join(QStringLiteral("; "))));
    }

    // An overlap listed as designed is one the rows still have.
    void overlapsAsDesigned_stillOverlap()
    {
        for (const auto &o : kOverlapsAsDesigned) {
            const Row *back = nullptr, *front = nullptr;
            for (const Row &r : windowNamed(QString::fromLatin1(o.window)).rows) {
                if (design::key(r) == QLatin1String(o.back))
                    back = &r;
                if (design::key(r) == QLatin1String(o.front))
                    front = &r;
            }
            QVERIFY2(back && front, o.back);
            QCOMPARE(back->container, front->container);
            QCOMPARE(back->tab, front->tab);
            QVERIFY2(twips(*back).intersects(twips(*front)), o.back);
        }
    }

    void check_refusesWhatCannotBeResolved_data()
    {
        QTest::addColumn<Row>("bad");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown container") << row("Label1", Kind::Label, "Picture9") << "Label1";
        QTest::newRow("container that holds nothing")
            << row("Label1", Kind::Label, "Data1") << "Label1";
        QTest::newRow("tab the tab control lacks")
            << row("Label1", Kind::Label, "SSTab1", 1) << "Label1";
        QTest::newRow("no tab on a tab control")
            << row("Label1", Kind::Label, "SSTab1") << "Label1";
        QTest::newRow("tab outside a tab control")
            << row("Label1", Kind::Label, "Picture1", 0) << "Label1";
        QTest::newRow("name repeats") << row("Picture1", Kind::PictureBox) << "Picture1";
        Row member = row("Data1", Kind::Label);
        member.index = 2;
        QTest::newRow("control and array") << member << "Data1(2)";
        Row unbound = row("Label2", Kind::ValueBox, "Picture1");
        unbound.dataSource = QStringLiteral("Data9");
        QTest::newRow("unknown data source") << unbound << "Label2";
        unbound.dataSource = QStringLiteral("Picture1");
        QTest::newRow("data source that is no data control") << unbound << "Label2";
    }
    void check_refusesWhatCannotBeResolved()
    {
        QFETCH(Row, bad);
        QFETCH(QString, named);
        std::vector<Row> rows = base();
        rows.push_back(bad);
        const design::Window w = withRows(rows);
        try {
            design::check(w);
            QFAIL("accepted");
        } catch (const design::Error &e) {
            QVERIFY2(QString::fromStdString(e.what()).startsWith(named + u':'), e.what());
        }
        // The builder refuses it too, before it makes anything.
        Blank form;
        QVERIFY_THROWS_EXCEPTION(design::Error, controls::build(form, w));
        QVERIFY(form.client()->children().isEmpty());
    }

    void build_refusesABoundLabelOnTheWindow()
    {
        std::vector<Row> rows = base();
        Row bound = row("Label1", Kind::ValueBox);
        bound.dataSource = QStringLiteral("Data1");
        rows.push_back(bound);
        Blank form;
        try {
            controls::build(form, withRows(rows));
            QFAIL("accepted");
        } catch (const design::Error &e) {
            QVERIFY2(
                QString::fromStdString(e.what()).startsWith(QStringLiteral("Label1:")), e.what());
        }
    }
};

QTEST_MAIN(TstDesign)
#include "tst_design.moc"
