// The design rows of both windows build into exactly the controls they
// name, where they name them; a row that cannot be resolved is refused,
// naming the row, in every build type.
#include "about/form2.h"
#include "about/form2_design.h"
#include "controls/build.h"
#include "controls/label.h"
#include "forms/system.h"
#include "viewer/form1.h"
#include "viewer/layout/form1_design.h"

#include <QStandardPaths>
#include <QTest>

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
