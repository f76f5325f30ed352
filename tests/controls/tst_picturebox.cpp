// The picture box: a picture that cannot be loaded leaves the box empty and
// says so in the log.
#include "controls/picturebox.h"

#include "../support/logcapture.h"

#include <QTest>

using controls::PictureBox;

class TstPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void missingPicture_drawsEmpty_andIsLogged()
    {
        PictureBox box;
        box.resize(40, 30);
        box.setPictureFile(QStringLiteral(":/no/such.bmp"));
        LogCapture log;
        box.grab();
        box.grab();
        QVERIFY(box.picture().isNull());
        // Once, not on every paint.
        QCOMPARE(log.warnings("vorlane.controls"),
            QStringList { QStringLiteral("cannot load picture :/no/such.bmp") });
    }
};

QTEST_MAIN(TstPictureBox)
#include "tst_picturebox.moc"
