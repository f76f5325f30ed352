// The runtime's message box as the user sees it: a long path wraps inside
// the box instead of being clipped at its widest.
#include "forms/msgbox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace forms;

class TstMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void text_isShownWhole_withinTheScreen_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("unchanged");
        const QString message = QStringLiteral("データベース ファイル '%1' が見つかりません。");
        QString digits = QStringLiteral("/srv");
        for (int i = 0; i < 60; ++i)
            digits += QStringLiteral("/%1").arg(1000 + i);
        QTest::newRow("long path names") << message.arg(QStringLiteral("/tmp/") + QString(150, u'a')
            + u'/' + QString(150, u'b') + QStringLiteral("/vorlane.mdb"))
                                         << false;
        QTest::newRow("digits and slashes")
            << message.arg(digits + QStringLiteral("/vorlane.mdb")) << false;
        QTest::newRow("short message")
            << message.arg(QStringLiteral("/home/user/vorlane.mdb")) << true;
        QTest::newRow("run-time error report")
            << QStringLiteral("実行時エラー '75':\n\nパス名が無効です。") << true;
    }
    void text_isShownWhole_withinTheScreen()
    {
        QFETCH(QString, prompt);
        QFETCH(bool, unchanged);
        QString shown;
        bool fits = false;
        bool onScreen = false;
        QTimer::singleShot(0, this, [&] {
            QMessageBox *box = nullptr;
            QTRY_VERIFY((box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())));
            QTRY_VERIFY(box->isVisible());
            auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            shown = label->text();
            fits = label->minimumSizeHint().width() <= label->width()
                && label->heightForWidth(label->width()) <= label->height();
            onScreen = box->screen()->availableGeometry().width() >= box->frameGeometry().width();
            box->accept();
        });
        QCOMPARE(MsgBox(prompt, vbExclamation), int(vbOK));
        QVERIFY2(fits, qPrintable(shown));
        QVERIFY(onScreen);
        if (unchanged)
            QCOMPARE(shown, prompt);
        QCOMPARE(shown.remove(QChar(0x200B)), prompt);
    }
};

QTEST_MAIN(TstMsgBox)
#include "tst_msgbox.moc"
