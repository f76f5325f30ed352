// The three dimension pages: every value box follows the current record on
// all pages, the static captions stand as designed, nothing on a page takes
// the focus or a click, and assistive technology sees every label. The
// expectations come from the window's design rows and the data set.
#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "design/fieldname.h"
#include "design/twips.h"
#include "forms/msgbox.h"
#include "forms/runtime.h"
#include "forms/system.h"
#include "viewer/form1.h"
#include "viewer/layout/form1_design.h"

#include "../support/dataset.h"
#include "../support/form1harness.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <set>

using design::Kind;
using design::Row;
using viewer::Form1;

namespace {

std::vector<const Row *> rowsOf(Kind kind)
{
    std::vector<const Row *> out;
    for (const Row &row : viewer::layout::form1().rows)
        if (row.kind == kind)
            out.push_back(&row);
    return out;
}

const QString kSources = QStringLiteral("sources");

// What a box shows for a data set cell: the number as written, "－" for none.
QString shown(const QString &cell)
{
    if (cell.isEmpty())
        return QStringLiteral("－");
    bool isNumber = false;
    const double v = cell.toDouble(&isNumber);
    return isNumber ? QString::number(v, 'g', 15) : cell;
}

} // namespace

class PagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void boxes_showEveryFieldOfTheDataSet();
    void open_allBoxesShowFirstRecord();
    void navigate_allBoxesFollowOnEveryPage_data();
    void navigate_allBoxesFollowOnEveryPage();
    void switchingPages_changesNoBox();
    void withoutDatabase_designCaptionsStay();
    void labels_standAsDesigned();
    void onlyCurrentSizeLineIsVisible();
    void noLabelTakesTheFocus();
    void clickOnPage_reachesNothing_andEnterStillEnds_data();
    void clickOnPage_reachesNothing_andEnterStillEnds();
    void longValue_boxKeepsItsSize();
    void everyValue_fitsItsBox();
    void labels_paintTheirOwnGround();
    void pageSurface_isTheButtonFace();
    void labels_areAccessibleChildrenOfTheirContainer();

private:
    void startIn(const QString &dir);
    QString text(const QString &key) const { return m_form->label(key)->text(); }
    void verifyRecord(int row);
    void showTab(int tab) { m_form->SSTab1->tabBar()->setCurrentIndex(tab); }
    // Where a label's centre lies in the window.
    QPoint centreOf(const Row &row) const;

    testing::DataSet m_data;
    QTemporaryDir m_withDb;
    QTemporaryDir m_empty;
    testing::Form1Harness m_run;
    Form1 *m_form = nullptr;
};

void PagesTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    forms::installFontSubstitutes();
    m_data = testing::readDataSet();
    QVERIFY(QFile::copy(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb"),
        m_withDb.filePath(QStringLiteral("vorlane.mdb"))));
}

void PagesTest::init()
{
    m_run.restart();
}

void PagesTest::cleanup()
{
    m_run.form.reset();
    m_form = nullptr;
    QDir::setCurrent(QDir::tempPath());
}

void PagesTest::startIn(const QString &dir)
{
    m_form = m_run.launch(dir);
    QVERIFY(m_form);
    QApplication::setActiveWindow(m_form);
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

QPoint PagesTest::centreOf(const Row &row) const
{
    const controls::Label *l = m_form->label(design::key(row));
    return l->container()->mapTo(m_form, l->geometry().center());
}

void PagesTest::verifyRecord(int row)
{
    QCOMPARE(m_form->Data1->absolutePosition(), row);
    // The design caption of a box is its data set column.
    for (const Row *box : rowsOf(Kind::ValueBox))
        QCOMPARE(text(design::key(*box)), shown(m_data.value(row, box->caption)));
}

void PagesTest::boxes_showEveryFieldOfTheDataSet()
{
    std::set<QString> columns;
    for (const QString &c : m_data.header)
        if (c != kSources)
            columns.insert(c);
    std::set<QString> shownColumns;
    for (const Row *box : rowsOf(Kind::ValueBox)) {
        // The box's field is its design caption in full-width letters.
        const auto field = design::fieldName(box->caption.toStdString());
        QVERIFY2(field, qPrintable(box->caption));
        QCOMPARE(box->dataField, QString::fromStdU16String(*field));
        shownColumns.insert(box->caption);
    }
    QCOMPARE(shownColumns, columns);
}

void PagesTest::open_allBoxesShowFirstRecord()
{
    startIn(m_withDb.path());
    QVERIFY2(m_run.boxes.isEmpty(), qPrintable(m_run.boxes.join(u'\n')));
    QCOMPARE(m_form->Data1->recordCount(), int(m_data.rows.size()));
    verifyRecord(0);
    QCOMPARE(text("Label10"), QStringLiteral("M3"));
    QCOMPARE(m_form->SSTab1->Tab(), 0);
}

void PagesTest::navigate_allBoxesFollowOnEveryPage_data()
{
    QTest::addColumn<QList<int>>("buttons"); // 0 first, 1 previous, 2 next, 3 last
    QTest::addColumn<QList<int>>("rows"); // the current record after each
    const int last = 41;
    QTest::newRow("next, next, previous") << QList<int> { 2, 2, 1 } << QList<int> { 1, 2, 1 };
    QTest::newRow("previous at the first stays") << QList<int> { 1, 1 } << QList<int> { 0, 0 };
    QTest::newRow("last, then next stays") << QList<int> { 3, 2 } << QList<int> { last, last };
    QTest::newRow("last, previous, first")
        << QList<int> { 3, 1, 0 } << QList<int> { last, last - 1, 0 };
    QTest::newRow("first from the middle")
        << QList<int> { 2, 2, 2, 0 } << QList<int> { 1, 2, 3, 0 };
}

void PagesTest::navigate_allBoxesFollowOnEveryPage()
{
    QFETCH(QList<int>, buttons);
    QFETCH(QList<int>, rows);
    startIn(m_withDb.path());
    QCOMPARE(m_form->Data1->recordCount(), 42);
    for (int i = 0; i < buttons.size(); ++i) {
        QTest::mouseClick(m_form->Data1->button(buttons[i]), Qt::LeftButton);
        verifyRecord(rows[i]);
    }
    // A click on the bar never moves the focus off the hidden Cancel button.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m_form->Command1));
}

void PagesTest::switchingPages_changesNoBox()
{
    startIn(m_withDb.path());
    QTest::mouseClick(m_form->Data1->button(2), Qt::LeftButton);
    for (int tab : { 1, 2, 0, 2, 1 }) {
        showTab(tab);
        QCOMPARE(m_form->SSTab1->Tab(), tab);
        verifyRecord(1);
    }
}

void PagesTest::withoutDatabase_designCaptionsStay()
{
    startIn(m_empty.path());
    QCOMPARE(m_run.boxes.size(), 1);
    QVERIFY(m_run.boxes.front().contains(QStringLiteral("vorlane.mdb")));
    for (int button : { 0, 2, 3, 1 })
        QTest::mouseClick(m_form->Data1->button(button), Qt::LeftButton);
    for (const Row *box : rowsOf(Kind::ValueBox))
        QCOMPARE(text(design::key(*box)), box->caption);
    for (int tab = 0; tab < 3; ++tab) {
        static const char *const lines[3][3] = { { "Label10", "Label0(1)", "Label2" },
            { "Label1", "Label0(2)", "Label26" }, { "Label27", "Label0(3)", "Label28" } };
        QCOMPARE(text(lines[tab][0]), QStringLiteral("m"));
        QCOMPARE(text(lines[tab][1]), QStringLiteral("×"));
        QCOMPARE(text(lines[tab][2]), QStringLiteral("p"));
    }
    QCOMPARE(m_run.boxes.size(), 1); // the failed open is reported once
}

void PagesTest::labels_standAsDesigned()
{
    startIn(m_empty.path());
    auto rows = rowsOf(Kind::Label);
    const auto boxes = rowsOf(Kind::ValueBox);
    rows.insert(rows.end(), boxes.begin(), boxes.end());
    // The window holds no label but those of its rows.
    QCOMPARE(std::size_t(m_form->findChildren<controls::Label *>().size()), rows.size());
    for (const Row *row : rows) {
        const QString key = design::key(*row);
        const controls::Label *l = m_form->label(key);
        QVERIFY2(l, qPrintable(key));
        QCOMPARE(l->container()->objectName(), row->container);
        QCOMPARE(l->tab(), row->tab);
        QCOMPARE(l->text(), row->caption);
        QCOMPARE(l->font().family(), forms::fontFamily(row->font.name));
        QCOMPARE(l->font().pointSizeF(), row->font.size);
        QCOMPARE(l->isOpaque(), row->opaque);
        if (row->opaque)
            QCOMPARE(l->backColor(), row->backColor);
        QCOMPARE(l->hasBorder(), row->border);
        // Placed from the inside of a picture box's border.
        const QPoint origin = qobject_cast<controls::PictureBox *>(l->container())
            ? l->container()->contentsRect().topLeft()
            : QPoint();
        const QRect designed = design::twipsRect(*row);
        QCOMPARE(l->geometry().topLeft() - origin, designed.topLeft());
        // AutoSize: the extent of the caption on one line; else as designed.
        const QFontMetrics fm(l->font());
        const int frame = row->border ? 2 : 0;
        QCOMPARE(l->geometry().size(),
            row->autoSize ? QSize(fm.horizontalAdvance(row->caption) + frame, fm.height() + frame)
                          : designed.size());
    }
}

void PagesTest::onlyCurrentSizeLineIsVisible()
{
    startIn(m_withDb.path());
    const auto onTabs = design::rowsIn(viewer::layout::form1(), QStringLiteral("SSTab1"));
    for (int current : { 0, 1, 2, 0 }) {
        showTab(current);
        for (const Row *row : onTabs) {
            if (const auto *l = m_form->label(design::key(*row)))
                QCOMPARE(l->isShown(), row->tab == current);
            else
                QCOMPARE(
                    m_form->control(design::key(*row))->isVisibleTo(m_form), row->tab == current);
        }
    }
}

void PagesTest::noLabelTakesTheFocus()
{
    startIn(m_withDb.path());
    const QList<QWidget *> stops = { m_form->Command1, m_form->SSTab1->tabBar(), m_form->Picture3 };
    for (int tab : { 0, 2 }) {
        showTab(tab);
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(stops.contains(QApplication::focusWidget()));
        }
    }
}

void PagesTest::clickOnPage_reachesNothing_andEnterStillEnds_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("label"); // or empty
    QTest::addColumn<QString>("widget"); // with `point` inside it
    QTest::addColumn<QPoint>("point");
    QTest::newRow("value box") << 0 << "Label7" << QString() << QPoint();
    QTest::newRow("caption") << 0 << "Label0(0)" << QString() << QPoint();
    QTest::newRow("size line box") << 1 << "Label1" << QString() << QPoint();
    QTest::newRow("opaque caption") << 2 << "Label0(15)" << QString() << QPoint();
    QTest::newRow("bolt drawing") << 0 << QString() << "Picture1" << QPoint(20, 20);
    QTest::newRow("joint drawing, a tab stop") << 2 << QString() << "Picture3" << QPoint(20, 20);
    // Below the drawing, between the size line and the navigation bar.
    QTest::newRow("page surface") << 0 << QString() << "SSTab1" << QPoint(250, 335);
}

void PagesTest::clickOnPage_reachesNothing_andEnterStillEnds()
{
    QFETCH(int, tab);
    QFETCH(QString, label);
    QFETCH(QString, widget);
    QFETCH(QPoint, point);
    startIn(m_withDb.path());
    showTab(tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m_form->Command1));

    QPoint at;
    if (!label.isEmpty()) {
        const controls::Label *l = m_form->label(label);
        QVERIFY(l->isShown());
        at = l->container()->mapTo(m_form, l->geometry().center());
    } else {
        at = m_form->control(widget)->mapTo(m_form, point);
    }
    // The window system hands a click to the window under it.
    QWidget *hit = m_form->childAt(at);
    QVERIFY(hit);
    QCOMPARE(hit->objectName(),
        label.isEmpty() ? widget : m_form->label(label)->container()->objectName());
    const QPoint local = hit->mapFrom(m_form, at);
    QTest::mouseClick(hit, Qt::LeftButton, {}, local);
    QTest::mouseDClick(hit, Qt::LeftButton, {}, local);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m_form->Command1));
    QCOMPARE(m_form->SSTab1->Tab(), tab);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m_run.ends, 1);
}

void PagesTest::longValue_boxKeepsItsSize()
{
    startIn(m_withDb.path());
    auto *box = m_form->label(QStringLiteral("Label3"));
    const QRect before = box->geometry();
    box->showValue(QStringLiteral("123456789.123456789"));
    QCOMPARE(box->geometry(), before);
    box->showValue(std::nullopt);
    QCOMPARE(box->text(), QStringLiteral("－"));
}

// A box keeps its size, so each value of the data set must fit in it. The
// ink may reach the border: "1.25" in IPA P Gothic fills the nut page's
// pitch box (510 twips) to its edges.
void PagesTest::everyValue_fitsItsBox()
{
    startIn(m_withDb.path());
    QStringList clipped;
    for (int row = 0; row < m_form->Data1->recordCount(); ++row) {
        if (row > 0)
            QTest::mouseClick(m_form->Data1->button(2), Qt::LeftButton);
        QCOMPARE(m_form->Data1->absolutePosition(), row);
        for (const Row *box : rowsOf(Kind::ValueBox)) {
            const controls::Label *l = m_form->label(design::key(*box));
            const int room = l->geometry().width();
            const int needs = QFontMetrics(l->font()).tightBoundingRect(l->text()).width();
            if (needs > room)
                clipped << QStringLiteral("%1 %2 \"%3\" (%4 px in %5)")
                               .arg(text(QStringLiteral("Label10")), design::key(*box), l->text())
                               .arg(needs)
                               .arg(room);
        }
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
}

void PagesTest::labels_paintTheirOwnGround()
{
    startIn(m_withDb.path());
    std::set<QString> opaque, checked;
    for (const Kind kind : { Kind::Label, Kind::ValueBox })
        for (const Row *row : rowsOf(kind))
            if (row->opaque)
                opaque.insert(design::key(*row));
    QVERIFY(!opaque.empty());
    for (int tab = 0; tab < m_form->SSTab1->Tabs(); ++tab) {
        showTab(tab);
        const QImage shot = m_form->grab().toImage();
        for (const Row &row : viewer::layout::form1().rows) {
            const controls::Label *l = m_form->label(design::key(row));
            if (!l || !l->isShown() || !row.opaque)
                continue;
            // A pixel inside the border, away from the text.
            const QPoint p = l->container()->mapTo(m_form, l->geometry().topLeft() + QPoint(3, 3));
            QCOMPARE(QColor(shot.pixel(p)), row.backColor);
            checked.insert(design::key(row));
        }
    }
    // Every opaque label of the rows is shown on some page: the value boxes
    // and the grey marker.
    QCOMPARE(checked, opaque);
}

void PagesTest::pageSurface_isTheButtonFace()
{
    startIn(m_withDb.path());
    const QImage shot = m_form->grab().toImage();
    const QColor face = m_form->client()->palette().color(QPalette::Button);
    // The strip right of the tab control, and the page below the drawing.
    QCOMPARE(QColor(shot.pixel(m_form->client()->mapTo(m_form, QPoint(558, 100)))), face);
    QCOMPARE(QColor(shot.pixel(m_form->SSTab1->mapTo(m_form, QPoint(250, 335)))), face);
}

void PagesTest::labels_areAccessibleChildrenOfTheirContainer()
{
    startIn(m_withDb.path());
    std::size_t seen = 0;
    auto containers = rowsOf(Kind::PictureBox);
    const auto tabControls = rowsOf(Kind::TabControl);
    containers.insert(containers.end(), tabControls.begin(), tabControls.end());
    for (const Row *containerRow : containers) {
        const QString name = design::key(*containerRow);
        QWidget *container = m_form->control(name);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(container);
        QVERIFY(iface);
        QStringList names;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface *child = iface->child(i);
            QVERIFY(child);
            QCOMPARE(iface->indexOfChild(child), i);
            if (child->role() != QAccessible::StaticText)
                continue;
            QCOMPARE(child->parent()->object(), container);
            names << child->text(QAccessible::Name);
            const auto *l = qobject_cast<controls::Label *>(child->object());
            QVERIFY(l);
            QCOMPARE(child->state().invisible, !l->isShown());
            QCOMPARE(child->rect(),
                QRect(container->mapToGlobal(l->geometry().topLeft()), l->geometry().size()));
        }
        QStringList expected;
        for (const Row *row : design::rowsIn(viewer::layout::form1(), name))
            if (row->kind == Kind::Label || row->kind == Kind::ValueBox)
                expected << text(design::key(*row));
        QCOMPARE(names, expected);
        seen += std::size_t(names.size());
    }
    // No label of the rows is left out: each lies on a container that
    // offers it.
    QCOMPARE(seen, rowsOf(Kind::Label).size() + rowsOf(Kind::ValueBox).size());
}

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
