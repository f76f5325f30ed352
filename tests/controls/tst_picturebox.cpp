// The picture box: keeps only the part of its picture that it shows, in
// the colours Qt's own conversion gives; draws it from the inner top-left
// corner, clipped, exactly as the whole picture drawn and clipped; reads the
// file without any image plugin. A picture that cannot be loaded leaves the
// box empty and says so in the log, once.
#include "../support/logcapture.h"
#include "assets.h"
#include "controls/picturebox.h"
#include "forms/picture.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

using controls::PictureBox;

namespace {

// An 8-bit image whose pixels run through all 256 indices.
QImage indexed(QSize size, const QList<QRgb> &palette)
{
    QImage img(size, QImage::Format_Indexed8);
    img.setColorTable(palette);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.scanLine(y)[x] = uchar((x * 7 + y * 13) % 256);
    return img;
}

QList<QRgb> palette(int count, int alpha = 255)
{
    QList<QRgb> p;
    for (int i = 0; i < count; ++i)
        p << qRgba(i, 255 - i, (i * 37) % 256, alpha);
    return p;
}

QImage drawn(PictureBox &box)
{
    QImage out(box.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    box.render(&out);
    return out;
}

// What a box of that size showed before it cut its picture: the whole
// picture as a pixmap, drawn clipped to the inner area.
QImage drawnWhole(QSize size, const QString &file)
{
    PictureBox bare;
    bare.resize(size);
    QImage out = drawn(bare);
    QPainter p(&out);
    p.setClipRect(bare.contentsRect());
    p.drawPixmap(bare.contentsRect().topLeft(), QPixmap(file));
    return out;
}

bool imagePluginLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

} // namespace

class TstPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { vorlane::initAssets(); }

    // First: the other cases load images the ordinary way.
    void readingDrawingsAndIcon_loadsNoImagePlugin()
    {
        QVERIFY2(!imagePluginLoaded(), "loaded before the test");
        for (const char *name : { "bolt.bmp", "nut.bmp", "joint.bmp" }) {
            PictureBox box;
            box.resize(549, 297);
            box.setPictureFile(QStringLiteral(":/assets/") + QLatin1String(name));
            QVERIFY(!box.shownPicture().isNull());
        }
        for (const char *name : { "vorlane.png", "vorlane-64.png", "vorlane-256.png" })
            QVERIFY(
                !forms::LoadPicture(QStringLiteral(":/assets/") + QLatin1String(name)).isNull());
        QVERIFY(!imagePluginLoaded());
    }

    void shownPart_isQtsConversionCut_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QSize>("box");
        QTest::newRow("larger than the box")
            << indexed({ 711, 474 }, palette(256)) << QSize(545, 293);
        QTest::newRow("smaller than the box")
            << indexed({ 40, 30 }, palette(256)) << QSize(545, 293);
        QTest::newRow("short palette: black beyond")
            << indexed({ 64, 64 }, palette(20)) << QSize(50, 70);
        QTest::newRow("no palette: grey ramp") << indexed({ 64, 64 }, {}) << QSize(64, 64);
        QTest::newRow("translucent palette")
            << indexed({ 64, 64 }, palette(256, 128)) << QSize(30, 30);
        QImage argb(80, 60, QImage::Format_ARGB32);
        argb.fill(qRgba(10, 200, 30, 100));
        QTest::newRow("32-bit with alpha") << argb << QSize(50, 50);
        QTest::newRow("24-bit") << argb.convertToFormat(QImage::Format_RGB888) << QSize(50, 50);
    }
    void shownPart_isQtsConversionCut()
    {
        QFETCH(QImage, image);
        QFETCH(QSize, box);
        const QImage part = controls::shownPart(image, box);
        const QRect cut = QRect(QPoint(0, 0), box).intersected(image.rect());
        QCOMPARE(part.size(), cut.size());
        const QImage expected = QPixmap::fromImage(image).toImage().copy(cut);
        QCOMPARE(part.convertToFormat(QImage::Format_ARGB32),
            expected.convertToFormat(QImage::Format_ARGB32));
    }

    void drawings_lookAsTheWholePictureClipped_andOnlyTheShownPartIsKept_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name : { "bolt.bmp", "nut.bmp", "joint.bmp", "vorlane-256.png" })
            QTest::newRow(name) << QStringLiteral(":/assets/") + QLatin1String(name);
    }
    void drawings_lookAsTheWholePictureClipped_andOnlyTheShownPartIsKept()
    {
        QFETCH(QString, file);
        PictureBox box;
        box.resize(549, 297);
        box.setPictureFile(file);
        QCOMPARE(drawn(box), drawnWhole(box.size(), file));
        const QSize whole = QImage(file).size();
        QCOMPARE(box.shownPicture().size(), whole.boundedTo(box.contentsRect().size()));
        // A larger box shows more of it.
        box.resize(800, 600);
        QCOMPARE(box.shownPicture().size(), whole.boundedTo(box.contentsRect().size()));
        QCOMPARE(drawn(box), drawnWhole(box.size(), file));
    }

    void unreadablePicture_drawsEmpty_andIsLoggedOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("missing.bmp");
        QTest::newRow("not a bitmap") << QByteArray("BM not really a bitmap") << "bad.bmp";
        QTest::newRow("unknown format") << QByteArray("GIF89a") << "picture.gif";
    }
    void unreadablePicture_drawsEmpty_andIsLoggedOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        PictureBox box;
        box.resize(549, 297);
        box.setPictureFile(path);
        LogCapture log;
        const QImage shown = drawn(box);
        drawn(box);
        QVERIFY(box.shownPicture().isNull());
        QCOMPARE(log.warnings(QStringLiteral("vorlane.controls")),
            QStringList { QStringLiteral("cannot load picture ") + path });
        PictureBox empty;
        empty.resize(549, 297);
        QCOMPARE(shown, drawn(empty));
    }
};

QTEST_MAIN(TstPictureBox)
#include "tst_picturebox.moc"
