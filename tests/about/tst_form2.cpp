#include "about/form2.h"
#include "about/form2_design.h"
#include "controls/commandbutton.h"
#include "controls/formlabel.h"
#include "design/twips.h"
#include "forms/system.h"
#include "modal.h"

#include <QFrame>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

using about::Form2;
using Label = controls::FormLabel;

class TestForm2 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void design_window();
    void design_labels_data();
    void design_labels();
    void design_separatorAndButton();
    void design_linkInFrontOfMailLine();
    void showModal_centredWithFocusOnCancel();
    void showModal_closes_data();
    void showModal_closes();
    void tabKeys_leaveFocusOnCancel_data();
    void tabKeys_leaveFocusOnCancel();
};

void TestForm2::initTestCase()
{
    forms::installFontSubstitutes();
    forms::setEndHook([] { QFAIL("the program ended"); });
}

void TestForm2::design_window()
{
    Form2 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("information"));
    const Qt::WindowFlags flags = form.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(form.client()->size(), QSize(321, 336)); // 4815 x 5040 twips
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(form.findChildren<QMenuBar *>().isEmpty());
}

void TestForm2::design_labels_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QRect>("designBox"); // twips
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("autoSize");

    QTest::newRow("Label3") << "Label3" << QRect(1320, 180, 2280, 240)
                            << QStringLiteral("Kantrellシリーズ") << 12.0 << true;
    QTest::newRow("Label1") << "Label1" << QRect(540, 540, 3720, 240)
                            << QStringLiteral("六角ﾎﾞﾙﾄ・ﾅｯﾄ JIS B 1180・1(1985)") << 12.0 << false;
    QTest::newRow("Label4") << "Label4" << QRect(1920, 840, 840, 240) << QStringLiteral("Vre 4.20")
                            << 12.0 << true;
    QTest::newRow("Label11") << "Label11" << QRect(420, 1140, 4035, 225)
                             << QStringLiteral("Copyright (C) Vorlane Works") << 11.25 << true;
    QTest::newRow("Label12") << "Label12" << QRect(840, 1380, 3015, 195)
                             << QStringLiteral("E-mail  info@vorlane.example") << 9.75 << true;
    QTest::newRow("Label13(7)") << "Label13(7)" << QRect(840, 1560, 3420, 195)
                                << QStringLiteral("https://www.vorlane.example/") << 9.75 << true;
}

void TestForm2::design_labels()
{
    QFETCH(QString, key);
    QFETCH(QRect, designBox);
    QFETCH(QString, caption);
    QFETCH(double, points);
    QFETCH(bool, autoSize);

    Form2 form;
    auto *label = qobject_cast<Label *>(form.control(key));
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), form.client());
    QCOMPARE(label->text(), caption);

    const QFont f = label->font();
    QCOMPARE(QFontInfo(f).family(), QFontInfo(QFont(QStringLiteral("IPAPGothic"))).family());
    QCOMPARE(f.family(), forms::fontFamily(QStringLiteral("ＭＳ Ｐゴシック")));
    QCOMPARE(f.pointSizeF(), points);
    QCOMPARE(f.weight(), QFont::Normal);
    QVERIFY(!f.italic());
    QVERIFY(!f.strikeOut());
    const bool link = key == QLatin1String("Label13(7)");
    QCOMPARE(f.underline(), link);
    const QColor text = label->palette().color(QPalette::WindowText);
    if (link)
        QCOMPARE(text, QColor(0, 0, 255));
    else
        QCOMPARE(text, QApplication::palette(label).color(QPalette::WindowText));

    // Transparent, no border, never focused, the default pointer.
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->frameStyle(), int(QFrame::NoFrame));
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QVERIFY(!label->testAttribute(Qt::WA_SetCursor));

    const QRect box
        = design::twipsRect(designBox.x(), designBox.y(), designBox.width(), designBox.height());
    QCOMPARE(label->pos(), box.topLeft());
    if (autoSize) {
        // One line, as wide and high as the caption in its font.
        const QFontMetrics fm(f);
        QCOMPARE(label->size(), QSize(fm.horizontalAdvance(caption), fm.height()));
        QVERIFY(label->geometry().right() < form.client()->width());
    } else {
        QCOMPARE(label->size(), box.size());
        QVERIFY(label->alignment() & Qt::AlignHCenter);
    }
}

void TestForm2::design_separatorAndButton()
{
    Form2 form;
    auto *frame = qobject_cast<QFrame *>(form.control("Frame1"));
    QVERIFY(frame);
    QCOMPARE(frame->geometry(), design::twipsRect(180, 1860, 4515, 75));
    QCOMPARE(frame->frameShape(), QFrame::HLine);
    QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
    QVERIFY(frame->children().isEmpty());

    QVERIFY(form.Command1);
    QCOMPARE(form.Command1->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(form.Command1->geometry(), design::twipsRect(2640, 4500, 975, 375));
    QVERIFY(form.Command1->isCancel());
    QVERIFY(!form.Command1->isDefault());
    QVERIFY(!form.Command1->autoDefault());
    QCOMPARE(form.Command1->font(), form.font());

    // Nothing between the separator and the button.
    const int lineBottom = frame->geometry().bottom();
    for (QWidget *w : form.client()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w != form.Command1)
            QVERIFY2(w->geometry().bottom() <= lineBottom, qPrintable(w->objectName()));
}

void TestForm2::design_linkInFrontOfMailLine()
{
    Form2 form;
    QWidget *mail = form.control("Label12");
    QWidget *link = form.control("Label13(7)");
    const QRect overlap = mail->geometry() & link->geometry();
    QVERIFY(!overlap.isEmpty());
    QCOMPARE(form.client()->childAt(overlap.center()), link);

    // The separator and the button lie above every label.
    const QObjectList order = form.client()->children(); // back to front
    const auto at = [&](const char *key) { return order.indexOf(form.control(key)); };
    for (const char *label : { "Label3", "Label1", "Label4", "Label11", "Label12", "Label13(7)" }) {
        QVERIFY(at(label) < at("Frame1"));
        QVERIFY(at(label) < at("Command1"));
    }
}

void TestForm2::showModal_centredWithFocusOnCancel()
{
    auto *form = new Form2;
    QPointer<Form2> guard(form);
    QRect frame;
    QWidget *focus = nullptr;
    bool timedOut = false;
    testing::whileModal([form] { forms::showModal(*form); },
        [&](Form2 &f) {
            frame = f.frameGeometry();
            focus = QApplication::focusWidget();
            f.Command1->click();
        },
        &timedOut);
    QVERIFY(!timedOut);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
    QVERIFY(focus);
    QCOMPARE(focus->objectName(), QStringLiteral("Command1"));
    QTRY_VERIFY(guard.isNull());
}

void TestForm2::showModal_closes_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : testing::kCloseWays)
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestForm2::showModal_closes()
{
    QFETCH(QString, how);
    auto *form = new Form2;
    QPointer<Form2> guard(form);
    bool timedOut = false;
    bool returned = false;
    testing::whileModal(
        [&] {
            forms::showModal(*form);
            returned = true;
        },
        [&](Form2 &f) { testing::closeBy(f, how); }, &timedOut);
    QVERIFY(returned);
    QVERIFY(!timedOut);
    QTRY_VERIFY(guard.isNull());
}

void TestForm2::tabKeys_leaveFocusOnCancel_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Tab") << Qt::Key_Tab << Qt::KeyboardModifiers();
    QTest::newRow("Shift+Tab") << Qt::Key_Backtab << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestForm2::tabKeys_leaveFocusOnCancel()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    auto *form = new Form2;
    QStringList focusAfter;
    bool timedOut = false;
    testing::whileModal([form] { forms::showModal(*form); },
        [&](Form2 &f) {
            for (int i = 0; i < 9; ++i) {
                QTest::keyClick(f.windowHandle(), key, modifiers);
                QWidget *w = QApplication::focusWidget();
                focusAfter << (w ? w->objectName() : QStringLiteral("none"));
            }
            QTest::keyClick(f.windowHandle(), Qt::Key_Escape);
        },
        &timedOut);
    QVERIFY(!timedOut);
    QCOMPARE(focusAfter, QStringList(9, QStringLiteral("Command1")));
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
