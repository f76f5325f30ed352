// The three dimension pages: every value box follows the current record on
// all pages, the static captions stand as designed, and nothing on a page
// takes the focus.
#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "forms/msgbox.h"
#include "forms/runtime.h"
#include "forms/system.h"
#include "viewer/form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using viewer::Form1;

namespace {

// Value box → field, all 28.
const std::vector<std::pair<const char *, const char *>> kBoxes = {
    { "Label10", "ｍ" },
    { "Label1", "ｍ" },
    { "Label27", "ｍ" },
    { "Label14", "ｍ" },
    { "Label2", "ｐ" },
    { "Label26", "ｐ" },
    { "Label28", "ｐ" },
    { "Label3", "ｓ" },
    { "Label4", "ｅ" },
    { "Label6", "ｋ" },
    { "Label7", "ｄａ" },
    { "Label8", "ｄｓ" },
    { "Label9", "ｍａ" },
    { "Label5", "ｄｋ" },
    { "Label15", "ｄｋ" },
    { "Label11", "ｅａ" },
    { "Label12", "ｓａ" },
    { "Label13", "ｋ１" },
    { "Label16", "ｋ３" },
    { "Label25", "ｐａ" },
    { "Label17", "ｚ" },
    { "Label18", "ｄｆ" },
    { "Label19", "ｄｄ" },
    { "Label20", "ｔ１" },
    { "Label21", "ｔ２" },
    { "Label22", "ｄｅ" },
    { "Label24", "ｎ１" },
    { "Label23", "ｎ２" },
};

// The data set's column of each field (the CSV uses half-width names).
QString csvColumn(const QString &field)
{
    QString out;
    for (QChar c : field)
        out += QChar(c.unicode() - 0xFEE0);
    return out;
}

struct DataSet
{
    QStringList header;
    std::vector<QStringList> rows;
    QString value(int row, const QString &field) const
    {
        return rows.at(std::size_t(row)).at(header.indexOf(csvColumn(field)));
    }
};

DataSet readDataSet()
{
    QFile f(QStringLiteral(VORLANE_SOURCE_DIR "/data/jis-dimensions.csv"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no data set");
    DataSet d;
    d.header = QString::fromUtf8(f.readLine()).trimmed().split(u',');
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty())
            continue;
        // The quoted sources column comes last; the fields before it are plain.
        d.rows.push_back(line.split(u',').mid(0, 22));
    }
    return d;
}

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

    void open_allBoxesShowFirstRecord();
    void navigate_allBoxesFollowOnEveryPage_data();
    void navigate_allBoxesFollowOnEveryPage();
    void switchingPages_changesNoBox();
    void withoutDatabase_designCaptionsStay();
    void staticCaptions_asDesigned_data();
    void staticCaptions_asDesigned();
    void onlyCurrentSizeLineIsVisible();
    void noLabelTakesTheFocus();
    void longValue_boxKeepsItsSize();
    void boxesPaintTheirOwnGround();

private:
    void startIn(const QString &dir);
    QString text(const char *key) const { return m_form->label(QString::fromUtf8(key))->text(); }
    void verifyRecord(int row);

    DataSet m_data;
    QTemporaryDir m_withDb;
    QTemporaryDir m_empty;
    std::unique_ptr<Form1> m_form;
    QStringList m_messages;
};

void PagesTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    forms::installFontSubstitutes();
    forms::setEndHook([] {});
    forms::setMsgBoxHook([this](const forms::MsgBoxCall &c) {
        m_messages << c.prompt;
        return int(forms::vbOK);
    });
    m_data = readDataSet();
    QVERIFY(QFile::copy(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb"),
        m_withDb.filePath(QStringLiteral("vorlane.mdb"))));
}

void PagesTest::init()
{
    m_messages.clear();
}

void PagesTest::cleanup()
{
    m_form.reset();
    QDir::setCurrent(QDir::tempPath());
}

void PagesTest::startIn(const QString &dir)
{
    QVERIFY(QDir::setCurrent(dir));
    m_form = std::make_unique<Form1>();
    QVERIFY(forms::launch(*m_form));
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void PagesTest::verifyRecord(int row)
{
    QCOMPARE(m_form->Data1->absolutePosition(), row);
    for (const auto &[box, field] : kBoxes)
        QCOMPARE(text(box), shown(m_data.value(row, QString::fromUtf8(field))));
    // Boxes of one field agree.
    QCOMPARE(text("Label1"), text("Label10"));
    QCOMPARE(text("Label27"), text("Label10"));
    QCOMPARE(text("Label14"), text("Label10"));
    QCOMPARE(text("Label26"), text("Label2"));
    QCOMPARE(text("Label28"), text("Label2"));
    QCOMPARE(text("Label15"), text("Label5"));
}

void PagesTest::open_allBoxesShowFirstRecord()
{
    startIn(m_withDb.path());
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'\n')));
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
    QStringList before;
    for (const auto &[box, field] : kBoxes)
        before << text(box);
    for (int tab : { 1, 2, 0, 2, 1 }) {
        m_form->SSTab1->tabBar()->setCurrentIndex(tab);
        QCOMPARE(m_form->SSTab1->Tab(), tab);
        QStringList now;
        for (const auto &[box, field] : kBoxes)
            now << text(box);
        QCOMPARE(now, before);
    }
    verifyRecord(1);
}

void PagesTest::withoutDatabase_designCaptionsStay()
{
    startIn(m_empty.path());
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages.front().contains(QStringLiteral("vorlane.mdb")));
    for (int button : { 0, 2, 3, 1 })
        QTest::mouseClick(m_form->Data1->button(button), Qt::LeftButton);
    for (const auto &[box, field] : kBoxes) {
        QString symbol;
        for (QChar c : QString::fromUtf8(field))
            symbol += QChar(c.unicode() - 0xFEE0);
        QCOMPARE(text(box), symbol);
    }
    for (int tab = 0; tab < 3; ++tab) {
        static const char *const lines[3][3] = { { "Label10", "Label0(1)", "Label2" },
            { "Label1", "Label0(2)", "Label26" }, { "Label27", "Label0(3)", "Label28" } };
        QCOMPARE(text(lines[tab][0]), QStringLiteral("m"));
        QCOMPARE(text(lines[tab][1]), QStringLiteral("×"));
        QCOMPARE(text(lines[tab][2]), QStringLiteral("p"));
    }
    QCOMPARE(m_messages.size(), 1); // the failed open is reported once
}

void PagesTest::staticCaptions_asDesigned_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("topLeftTwips");
    QTest::addColumn<double>("points");
    const QString deg = QStringLiteral("15\u309C\uFF5E30\u309C");
    const QString unit = QStringLiteral("単位\uFF1Amm");
    const QString star = QStringLiteral("\u2605\uFF1A");
    const QString circle = QStringLiteral("\u25CE\uFF1A");
    struct Row
    {
        int i;
        const char *container;
        QString caption;
        QPoint at;
        double pt;
    };
    const Row rows[] = {
        { 0, "Picture1", unit, { 7020, 180 }, 12 },
        { 1, "SSTab1", QStringLiteral("\u00D7"), { 1020, 4920 }, 12 },
        { 2, "SSTab1", QStringLiteral("\u00D7"), { 1020, 4920 }, 12 },
        { 3, "SSTab1", QStringLiteral("\u00D7"), { 1020, 4920 }, 12 },
        { 4, "Picture3", unit, { 7020, 180 }, 12 },
        { 5, "Picture1", deg, { 3780, 180 }, 12 },
        { 6, "Picture2", deg, { 5040, 180 }, 12 },
        { 7, "Picture2", unit, { 7020, 180 }, 12 },
        { 8, "Picture1", QStringLiteral("X"), { 5220, 3000 }, 14.25 },
        { 9, "Picture2", QStringLiteral("\uFF11 種"), { 4950, 3990 }, 12 },
        { 10, "Picture2", QStringLiteral("\uFF13 種"), { 6840, 3990 }, 12 },
        { 11, "Picture3", star + QStringLiteral("鋼 鉄"), { 6840, 3585 }, 12 },
        { 12, "Picture3", circle + QStringLiteral("鋳 鉄"), { 6840, 3885 }, 12 },
        { 13, "Picture3", star, { 4500, 450 }, 12 },
        { 14, "Picture3", circle, { 4500, 795 }, 12 },
        { 15, "Picture3", star, { 4590, 3150 }, 12 },
        { 16, "Picture3", circle, { 4590, 3480 }, 12 },
        { 17, "Picture2", QStringLiteral("x"), { 240, 1080 }, 12 },
        { 18, "Picture1", QStringLiteral("b"), { 6780, 3000 }, 14.25 },
        { 19, "Picture1", QStringLiteral("L"), { 6060, 3660 }, 14.25 },
    };
    for (const auto &r : rows)
        QTest::addRow("Label0(%d)", r.i)
            << r.i << QString::fromUtf8(r.container) << r.caption << r.at << r.pt;
}

void PagesTest::staticCaptions_asDesigned()
{
    QFETCH(int, index);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QPoint, topLeftTwips);
    QFETCH(double, points);
    startIn(m_withDb.path());
    auto *l = m_form->label(QStringLiteral("Label0(%1)").arg(index));
    QVERIFY(l);
    QCOMPARE(l->text(), caption);
    QCOMPARE(l->parentWidget()->objectName(), container);
    QCOMPARE(l->font().pointSizeF(), points);
    // AutoSize: Left and Top stay, the box takes its text's extent.
    const QPoint origin = l->parentWidget()->contentsRect().topLeft();
    QCOMPARE(l->pos() - origin, QPoint(topLeftTwips.x() / 15, topLeftTwips.y() / 15));
    QVERIFY(l->width() >= l->fontMetrics().horizontalAdvance(caption));
    // Only Label0(15), over the hatching, is opaque.
    QCOMPARE(l->autoFillBackground(), index == 15);
    if (index == 15)
        QCOMPARE(l->palette().color(QPalette::Window), QColor(192, 192, 192));
}

void PagesTest::onlyCurrentSizeLineIsVisible()
{
    startIn(m_withDb.path());
    const QStringList lines[3] = { { "Label10", "Label0(1)", "Label2" },
        { "Label1", "Label0(2)", "Label26" }, { "Label27", "Label0(3)", "Label28" } };
    for (int current : { 0, 1, 2, 0 }) {
        m_form->SSTab1->tabBar()->setCurrentIndex(current);
        for (int tab = 0; tab < 3; ++tab)
            for (const auto &key : lines[tab])
                QCOMPARE(m_form->label(key)->isVisibleTo(m_form.get()), tab == current);
        // The drawing boxes follow the same rule.
        QCOMPARE(m_form->Picture1->isVisibleTo(m_form.get()), current == 0);
        QCOMPARE(m_form->Picture2->isVisibleTo(m_form.get()), current == 1);
        QCOMPARE(m_form->Picture3->isVisibleTo(m_form.get()), current == 2);
    }
}

void PagesTest::noLabelTakesTheFocus()
{
    startIn(m_withDb.path());
    m_form->activateWindow();
    for (auto *l : m_form->findChildren<controls::Label *>())
        QCOMPARE(l->focusPolicy(), Qt::NoFocus);
    for (int tab : { 0, 2 }) {
        m_form->SSTab1->tabBar()->setCurrentIndex(tab);
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(!qobject_cast<controls::Label *>(QApplication::focusWidget()));
        }
    }
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

void PagesTest::boxesPaintTheirOwnGround()
{
    startIn(m_withDb.path());
    // A pixel inside the border, away from the text.
    auto groundOf = [this](const char *key) {
        auto *l = m_form->label(QString::fromUtf8(key));
        return QColor(l->grab().toImage().pixel(3, 3));
    };
    for (const auto &[box, field] : kBoxes)
        QCOMPARE(groundOf(box), QColor(255, 255, 255));
    QCOMPARE(groundOf("Label0(15)"), QColor(192, 192, 192));
}

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
