#include "assets.h"
#include "design/twips.h"
#include "viewer/layout/form1_design.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr QRgb ground = qRgb(192, 192, 192);
constexpr QRgb part = qRgb(160, 160, 164);
constexpr QRgb ink = qRgb(0, 0, 0);

// What a sample point must show.
enum class Shows {
    Ink, // a line passes through this very pixel
    InkNear, // a line passes within one pixel (curves, slanted lines)
    Part, // mid grey, no line
    Ground, // bare ground
    Material, // a part, hatched or not (mid grey or a hatching line)
};

QImage load(const QString &name)
{
    QImage img(QStringLiteral(":/assets/") + name);
    return img.convertToFormat(QImage::Format_RGB32);
}

const QImage &drawing(const QString &name)
{
    static QHash<QString, QImage> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, load(name + QStringLiteral(".bmp")));
    return *it;
}

QRgb at(const QImage &img, int x, int y)
{
    return img.valid(x, y) ? (img.pixel(x, y) | 0xff000000u) : ground;
}

bool isInk(const QImage &img, int x, int y)
{
    return at(img, x, y) == ink;
}

// The picture boxes of the main window and the drawing each shows.
std::vector<std::pair<QString, QString>> pictures()
{
    std::vector<std::pair<QString, QString>> out;
    const QString prefix = QStringLiteral(":/assets/");
    for (const design::Row &row : viewer::layout::form1().rows)
        if (row.kind == design::Kind::PictureBox && row.picture.startsWith(prefix))
            out.emplace_back(row.name, row.picture.mid(prefix.size()).chopped(4));
    return out;
}

QByteArray rawAsset(const QString &name)
{
    QFile f(QStringLiteral(":/assets/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 le32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 le16(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

} // namespace

Q_DECLARE_METATYPE(Shows)

class TestDrawings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { vorlane::initAssets(); }

    void bitmap_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("bolt") << "bolt" << 711 << 474;
        QTest::newRow("nut") << "nut" << 692 << 498;
        QTest::newRow("joint") << "joint" << 686 << 537;
    }

    void bitmap_isUncompressed256ColourBmp_data() { bitmap_data(); }
    void bitmap_isUncompressed256ColourBmp()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(int, height);
        const QByteArray b = rawAsset(name + ".bmp");
        QVERIFY(b.size() > 54);
        QCOMPARE(b.left(2), QByteArray("BM"));
        QCOMPARE(le32(b, 2), quint32(b.size()));
        QCOMPARE(le32(b, 10), quint32(14 + 40 + 256 * 4));
        QCOMPARE(le32(b, 14), 40u); // BITMAPINFOHEADER
        QCOMPARE(int(le32(b, 18)), width);
        QCOMPARE(int(le32(b, 22)), height);
        QCOMPARE(le16(b, 26), quint16(1));
        QCOMPARE(le16(b, 28), quint16(8));
        QCOMPARE(le32(b, 30), 0u); // BI_RGB
        const quint32 used = le32(b, 46);
        QVERIFY(used == 0 || used == 256);
        const int stride = (width + 3) & ~3;
        QCOMPARE(b.size(), 14 + 40 + 256 * 4 + stride * height);

        QImage img(":/assets/" + name + ".bmp");
        QCOMPARE(img.size(), QSize(width, height));
        QCOMPARE(img.format(), QImage::Format_Indexed8);
        QCOMPARE(img.colorCount(), 256);
        for (QRgb c : { ground, part, ink })
            QVERIFY2(img.colorTable().contains(c), "a colour of the drawings is not in the table");
    }

    void bitmap_usesOnlyGroundPartAndInk_data() { bitmap_data(); }
    void bitmap_usesOnlyGroundPartAndInk()
    {
        QFETCH(QString, name);
        const QImage &img = drawing(name);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = at(img, x, y);
                if (c != ground && c != part && c != ink)
                    QFAIL(qPrintable(QStringLiteral("stray colour at %1, %2").arg(x).arg(y)));
            }
    }

    // The page shows only the top-left 540 x 280 pixels of a drawing.
    void bitmap_isBareGroundBeyondShownArea_data() { bitmap_data(); }
    void bitmap_isBareGroundBeyondShownArea()
    {
        QFETCH(QString, name);
        const QImage &img = drawing(name);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((x >= 540 || y >= 280) && at(img, x, y) != ground)
                    QFAIL(qPrintable(QStringLiteral("drawn at %1, %2").arg(x).arg(y)));
    }

    void feature_isDrawn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<Shows>("shows");
        auto row = [](const char *tag, const char *name, int x, int y, Shows s) {
            QTest::newRow(tag) << QString::fromLatin1(name) << x << y << s;
        };
        using S = Shows;
        // Bolt: end view of the head.
        row("bolt hexagon left flat", "bolt", 24, 130, S::Ink);
        row("bolt outside left flat", "bolt", 23, 130, S::Ground);
        row("bolt hexagon right flat", "bolt", 115, 130, S::Ink);
        row("bolt outside right flat", "bolt", 116, 130, S::Ground);
        row("bolt hexagon filled", "bolt", 26, 120, S::Part);
        row("bolt top corner", "bolt", 70, 88, S::Ink);
        row("bolt above top corner", "bolt", 74, 87, S::Ground);
        row("bolt bottom corner", "bolt", 70, 194, S::Ink);
        row("bolt below bottom corner", "bolt", 66, 195, S::Ground);
        row("bolt inscribed circle upper left", "bolt", 37, 109, S::InkNear);
        row("bolt inscribed circle near top", "bolt", 58, 97, S::InkNear);
        row("bolt s line", "bolt", 70, 255, S::Ink);
        row("bolt s extension left", "bolt", 24, 250, S::Ink);
        row("bolt s extension right", "bolt", 115, 250, S::Ink);
        row("bolt e line", "bolt", 153, 150, S::Ink);
        row("bolt e line runs up", "bolt", 153, 60, S::Ink);
        row("bolt e leader end", "bolt", 136, 55, S::Ink);
        row("bolt e leader stops", "bolt", 134, 55, S::Ground);
        row("bolt e extension top", "bolt", 120, 88, S::Ink);
        row("bolt e extension bottom", "bolt", 120, 194, S::Ink);
        // Bolt: side view.
        row("bolt head outer face", "bolt", 239, 130, S::Ink);
        row("bolt head top", "bolt", 260, 88, S::Ink);
        row("bolt above head", "bolt", 260, 87, S::Ground);
        row("bolt head bottom", "bolt", 260, 194, S::Ink);
        row("bolt below head", "bolt", 260, 195, S::Ground);
        row("bolt head upper face edge", "bolt", 260, 114, S::Ink);
        row("bolt head lower face edge", "bolt", 260, 168, S::Ink);
        row("bolt head face filled", "bolt", 260, 100, S::Part);
        row("bolt head bearing face", "bolt", 277, 100, S::Ink);
        row("bolt beside bearing face", "bolt", 279, 100, S::Ground);
        row("bolt head chamfer arc", "bolt", 244, 125, S::InkNear);
        row("bolt head chamfer outline", "bolt", 243, 95, S::InkNear);
        row("bolt shank top", "bolt", 330, 114, S::Ink);
        row("bolt shank bottom", "bolt", 330, 168, S::Ink);
        row("bolt shank filled", "bolt", 330, 125, S::Part);
        row("bolt above shank", "bolt", 330, 112, S::Ground);
        row("bolt thread outline", "bolt", 450, 114, S::Ink);
        row("bolt thread minor top", "bolt", 450, 118, S::Ink);
        row("bolt thread minor bottom", "bolt", 450, 164, S::Ink);
        row("bolt thread between lines", "bolt", 450, 116, S::Part);
        row("bolt thread inside minor", "bolt", 450, 120, S::Part);
        row("bolt thread end line", "bolt", 379, 125, S::Ink);
        row("bolt thread run-out", "bolt", 375, 116, S::InkNear);
        row("bolt end face", "bolt", 519, 130, S::Ink);
        row("bolt beyond end", "bolt", 520, 130, S::Ground);
        row("bolt end chamfer", "bolt", 517, 116, S::InkNear);
        row("bolt outside end chamfer", "bolt", 518, 115, S::Ground);
        // Bolt: chamfer angle.
        row("bolt face line drawn up", "bolt", 239, 30, S::Ink);
        row("bolt face line top", "bolt", 239, 24, S::Ink);
        row("bolt face line stops", "bolt", 239, 22, S::Ground);
        row("bolt angle arc", "bolt", 250, 33, S::InkNear);
        row("bolt chamfer line drawn on", "bolt", 270, 48, S::InkNear);
        // Bolt: dimensions of the side view.
        row("bolt dk line", "bolt", 197, 140, S::Ink);
        row("bolt dk extension top", "bolt", 220, 102, S::Ink);
        row("bolt dk extension bottom", "bolt", 220, 181, S::Ink);
        row("bolt dk line runs down", "bolt", 197, 210, S::Ink);
        row("bolt dk leader end", "bolt", 173, 226, S::Ink);
        row("bolt dk leader stops", "bolt", 171, 226, S::Ground);
        row("bolt k line left end", "bolt", 202, 266, S::Ink);
        row("bolt k line starts", "bolt", 200, 266, S::Ground);
        row("bolt L line", "bolt", 400, 266, S::Ink);
        row("bolt extension outer face", "bolt", 239, 250, S::Ink);
        row("bolt extension bearing face", "bolt", 277, 250, S::Ink);
        row("bolt extension end", "bolt", 519, 250, S::Ink);
        row("bolt da line", "bolt", 316, 140, S::Ink);
        row("bolt da line runs up", "bolt", 316, 50, S::Ink);
        row("bolt da leader end", "bolt", 340, 45, S::Ink);
        row("bolt da leader stops", "bolt", 342, 45, S::Ground);
        row("bolt da extension top", "bolt", 300, 111, S::Ink);
        row("bolt da extension bottom", "bolt", 300, 171, S::Ink);
        row("bolt ds line", "bolt", 352, 130, S::Ink);
        row("bolt ds line runs up", "bolt", 352, 90, S::Ink);
        row("bolt ds leader end", "bolt", 376, 79, S::Ink);
        row("bolt ds leader stops", "bolt", 378, 79, S::Ground);
        row("bolt ma leader start", "bolt", 478, 70, S::Ink);
        row("bolt ma leader stops", "bolt", 480, 70, S::Ground);
        row("bolt ma leader bend", "bolt", 458, 70, S::Ink);
        row("bolt ma leader slant", "bolt", 441, 91, S::InkNear);
        row("bolt X b line", "bolt", 340, 223, S::Ink);
        row("bolt X b line left end", "bolt", 334, 223, S::Ink);
        row("bolt X b line starts", "bolt", 332, 223, S::Ground);
        row("bolt b line", "bolt", 450, 223, S::Ink);
        row("bolt X extension left", "bolt", 372, 200, S::Ink);
        row("bolt X extension right", "bolt", 379, 200, S::Ink);
        // Nut: end view.
        row("nut hexagon left flat", "nut", 82, 125, S::Ink);
        row("nut outside left flat", "nut", 81, 125, S::Ground);
        row("nut hexagon right flat", "nut", 173, 125, S::Ink);
        row("nut outside right flat", "nut", 174, 125, S::Ground);
        row("nut top corner", "nut", 127, 87, S::Ink);
        row("nut above top corner", "nut", 123, 86, S::Ground);
        row("nut bottom corner", "nut", 127, 191, S::Ink);
        row("nut inscribed circle", "nut", 85, 123, S::InkNear);
        row("nut hole outer circle", "nut", 146, 158, S::InkNear);
        row("nut hole inner circle", "nut", 143, 155, S::InkNear);
        row("nut between hole circles", "nut", 145, 156, S::Part);
        row("nut inside hole", "nut", 137, 130, S::Ground);
        row("nut leader start", "nut", 56, 58, S::Ink);
        row("nut leader stops", "nut", 54, 58, S::Ground);
        row("nut leader bend", "nut", 75, 58, S::Ink);
        row("nut leader slant", "nut", 94, 87, S::InkNear);
        row("nut sa line", "nut", 127, 252, S::Ink);
        row("nut sa extension left", "nut", 82, 240, S::Ink);
        row("nut sa extension right", "nut", 173, 240, S::Ink);
        row("nut ea line", "nut", 217, 140, S::Ink);
        row("nut ea line runs up", "nut", 217, 50, S::Ink);
        row("nut ea leader end", "nut", 193, 45, S::Ink);
        row("nut ea leader stops", "nut", 191, 45, S::Ground);
        row("nut ea extension top", "nut", 200, 87, S::Ink);
        row("nut ea extension bottom", "nut", 200, 191, S::Ink);
        // Nut: side views.
        row("nut type 1 chamfered face", "nut", 325, 120, S::Ink);
        row("nut type 1 top", "nut", 345, 87, S::Ink);
        row("nut type 1 above", "nut", 345, 86, S::Ground);
        row("nut type 1 bottom", "nut", 345, 191, S::Ink);
        row("nut type 1 right face", "nut", 367, 120, S::Ink);
        row("nut type 1 beside right face", "nut", 368, 120, S::Ground);
        row("nut type 1 upper face edge", "nut", 345, 113, S::Ink);
        row("nut type 1 lower face edge", "nut", 345, 165, S::Ink);
        row("nut type 1 filled", "nut", 345, 100, S::Part);
        row("nut type 1 chamfer arc", "nut", 330, 125, S::InkNear);
        row("nut face line drawn up", "nut", 325, 30, S::Ink);
        row("nut face line top", "nut", 325, 24, S::Ink);
        row("nut angle arc", "nut", 336, 33, S::InkNear);
        row("nut dk line", "nut", 278, 139, S::Ink);
        row("nut dk leader end", "nut", 254, 231, S::Ink);
        row("nut dk leader stops", "nut", 252, 231, S::Ground);
        row("nut dk extension top", "nut", 300, 100, S::Ink);
        row("nut dk extension bottom", "nut", 300, 178, S::Ink);
        row("nut k1 line", "nut", 346, 248, S::Ink);
        row("nut k1 extension left", "nut", 325, 230, S::Ink);
        row("nut k1 extension right", "nut", 367, 230, S::Ink);
        row("nut type 3 top", "nut", 470, 87, S::Ink);
        row("nut type 3 above", "nut", 470, 86, S::Ground);
        row("nut type 3 bottom", "nut", 470, 191, S::Ink);
        row("nut type 3 left face", "nut", 454, 120, S::Ink);
        row("nut type 3 beside left face", "nut", 453, 120, S::Ground);
        row("nut type 3 right face", "nut", 486, 120, S::Ink);
        row("nut type 3 beside right face", "nut", 487, 120, S::Ground);
        row("nut k3 line left end", "nut", 417, 248, S::Ink);
        row("nut k3 line starts", "nut", 415, 248, S::Ground);
        row("nut k3 line right end", "nut", 524, 248, S::Ink);
        row("nut k3 line stops", "nut", 526, 248, S::Ground);
        row("nut k3 line between", "nut", 470, 248, S::Ink);
        row("nut k3 extension left", "nut", 454, 230, S::Ink);
        row("nut k3 extension right", "nut", 486, 230, S::Ink);
        // Joint: plate and spot face.
        row("joint plate top", "joint", 200, 43, S::Ink);
        row("joint above plate", "joint", 200, 42, S::Ground);
        row("joint plate bottom", "joint", 200, 269, S::Ink);
        row("joint below plate", "joint", 200, 270, S::Ground);
        row("joint plate left face", "joint", 147, 60, S::Ink);
        row("joint left of plate", "joint", 146, 60, S::Ground);
        row("joint plate left face below", "joint", 147, 240, S::Ink);
        row("joint spot face bottom", "joint", 152, 98, S::Ink);
        row("joint spot face upper step", "joint", 149, 92, S::Ink);
        row("joint spot face lower step", "joint", 149, 220, S::Ink);
        row("joint spot face empty above nut", "joint", 150, 98, S::Ground);
        row("joint spot face empty below nut", "joint", 150, 214, S::Ground);
        row("joint no face line in spot face", "joint", 147, 98, S::Ground);
        row("joint hole wall top", "joint", 200, 124, S::Ink);
        row("joint hole wall bottom", "joint", 200, 188, S::Ink);
        row("joint clearance above rod", "joint", 200, 126, S::Ground);
        row("joint clearance below rod", "joint", 200, 185, S::Ground);
        row("joint face upper", "joint", 280, 60, S::Ink);
        row("joint face lower", "joint", 280, 250, S::Ink);
        // Joint: rod and nut.
        row("joint rod top", "joint", 200, 129, S::Ink);
        row("joint rod bottom", "joint", 200, 182, S::Ink);
        row("joint rod filled", "joint", 200, 150, S::Part);
        row("joint rod left end", "joint", 94, 145, S::Ink);
        row("joint left of rod", "joint", 93, 145, S::Ground);
        row("joint rod left chamfer", "joint", 96, 131, S::InkNear);
        row("joint rod left thread end", "joint", 170, 140, S::Ink);
        row("joint rod right thread end", "joint", 262, 140, S::Ink);
        row("joint rod minor line left", "joint", 105, 133, S::Ink);
        row("joint rod minor line top", "joint", 300, 133, S::Ink);
        row("joint rod minor line bottom", "joint", 300, 178, S::Ink);
        row("joint rod right end", "joint", 386, 145, S::Ink);
        row("joint beyond rod end", "joint", 388, 145, S::Ground);
        row("joint nut top", "joint", 130, 104, S::Ink);
        row("joint above nut", "joint", 130, 103, S::Ground);
        row("joint nut bottom", "joint", 130, 208, S::Ink);
        row("joint nut seated face", "joint", 152, 110, S::Ink);
        row("joint nut chamfered face", "joint", 110, 120, S::Ink);
        row("joint left of nut", "joint", 109, 120, S::Ground);
        row("joint nut filled", "joint", 130, 115, S::Part);
        row("joint nut chamfer arc", "joint", 114, 145, S::InkNear);
        // Joint: tapped hole in the base part.
        row("joint thread line top", "joint", 394, 129, S::Ink);
        row("joint thread line bottom", "joint", 394, 182, S::Ink);
        row("joint thread end", "joint", 402, 150, S::Ink);
        row("joint thread line stops", "joint", 408, 129, S::Material);
        row("joint drill line top", "joint", 415, 133, S::Ink);
        row("joint drill line bottom", "joint", 415, 178, S::Ink);
        row("joint drill empty", "joint", 415, 150, S::Ground);
        row("joint drill point", "joint", 431, 144, S::InkNear);
        row("joint drill point tip", "joint", 437, 156, S::InkNear);
        row("joint inside drill point", "joint", 430, 150, S::Ground);
        row("joint beyond drill point", "joint", 442, 150, S::Material);
        row("joint base below right", "joint", 300, 100, S::Material);
        row("joint base broken off above", "joint", 300, 85, S::Ground);
        row("joint base broken off below", "joint", 300, 230, S::Ground);
        row("joint base broken off right", "joint", 470, 150, S::Ground);
        // Joint: dimensions.
        row("joint z line", "joint", 57, 150, S::Ink);
        row("joint z leader end", "joint", 81, 52, S::Ink);
        row("joint z leader stops", "joint", 83, 52, S::Ground);
        row("joint z extension top", "joint", 100, 92, S::Ink);
        row("joint z extension bottom", "joint", 100, 220, S::Ink);
        row("joint df line", "joint", 216, 150, S::Ink);
        row("joint df line runs up", "joint", 216, 100, S::Ink);
        row("joint df leader end", "joint", 191, 88, S::Ink);
        row("joint df leader stops", "joint", 189, 88, S::Part);
        row("joint dd line", "joint", 251, 150, S::Ink);
        row("joint dd line runs up", "joint", 251, 100, S::Ink);
        row("joint dd leader end", "joint", 226, 55, S::Ink);
        row("joint dd leader stops", "joint", 224, 55, S::Part);
        row("joint t line", "joint", 330, 74, S::Ink);
        row("joint t extension", "joint", 386, 100, S::Ink);
        row("joint t extension top", "joint", 386, 72, S::Ink);
        row("joint n line", "joint", 340, 255, S::Ink);
        row("joint n extension", "joint", 402, 240, S::Ink);
        row("joint de line", "joint", 500, 155, S::Ink);
        row("joint de leader end", "joint", 476, 70, S::Ink);
        row("joint de leader stops", "joint", 474, 70, S::Ground);
        row("joint de extension top", "joint", 480, 133, S::Ink);
        row("joint de extension bottom", "joint", 480, 178, S::Ink);
    }

    void feature_isDrawn()
    {
        QFETCH(QString, name);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(Shows, shows);
        const QImage &img = drawing(name);
        const QRgb c = at(img, x, y);
        switch (shows) {
        case Shows::Ink:
            QVERIFY2(c == ink, "no line here");
            break;
        case Shows::InkNear: {
            bool found = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    found = found || isInk(img, x + dx, y + dy);
            QVERIFY2(found, "no line within a pixel");
            break;
        }
        case Shows::Part:
            QVERIFY2(c == part, "not a bare part here");
            break;
        case Shows::Ground:
            QVERIFY2(c == ground, "not bare ground here");
            break;
        case Shows::Material:
            QVERIFY2(c == part || c == ink, "no part here");
            break;
        }
    }

    void arrowhead_isSolidAtTip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("tip");
        QTest::addColumn<QPoint>("direction");
        auto row = [](const char *tag, const char *name, QPoint tip, QPoint dir) {
            QTest::newRow(tag) << QString::fromLatin1(name) << tip << dir;
        };
        const QPoint up(0, -1), down(0, 1), left(-1, 0), right(1, 0);
        row("bolt s left", "bolt", { 24, 255 }, left);
        row("bolt s right", "bolt", { 115, 255 }, right);
        row("bolt e top", "bolt", { 153, 88 }, up);
        row("bolt e bottom", "bolt", { 153, 194 }, down);
        row("bolt dk top", "bolt", { 197, 102 }, up);
        row("bolt dk bottom", "bolt", { 197, 181 }, down);
        row("bolt k from outside", "bolt", { 239, 266 }, right);
        row("bolt k and L at bearing face", "bolt", { 277, 266 }, left);
        row("bolt L end", "bolt", { 519, 266 }, right);
        row("bolt da top", "bolt", { 316, 111 }, up);
        row("bolt da bottom", "bolt", { 316, 171 }, down);
        row("bolt ds top", "bolt", { 352, 114 }, up);
        row("bolt ds bottom", "bolt", { 352, 168 }, down);
        row("bolt ma on thread", "bolt", { 424, 113 }, { -34, 43 });
        row("bolt X from outside", "bolt", { 372, 223 }, right);
        row("bolt X and b at thread start", "bolt", { 379, 223 }, left);
        row("bolt b end", "bolt", { 519, 223 }, right);
        row("nut thread callout", "nut", { 113, 116 }, { 38, 58 });
        row("nut sa left", "nut", { 82, 252 }, left);
        row("nut sa right", "nut", { 173, 252 }, right);
        row("nut ea top", "nut", { 217, 87 }, up);
        row("nut ea bottom", "nut", { 217, 191 }, down);
        row("nut dk top", "nut", { 278, 100 }, up);
        row("nut dk bottom", "nut", { 278, 178 }, down);
        row("nut k1 left", "nut", { 325, 248 }, left);
        row("nut k1 right", "nut", { 367, 248 }, right);
        row("nut k3 from left", "nut", { 454, 248 }, right);
        row("nut k3 from right", "nut", { 486, 248 }, left);
        row("joint z top", "joint", { 57, 92 }, up);
        row("joint z bottom", "joint", { 57, 220 }, down);
        row("joint df top", "joint", { 216, 129 }, up);
        row("joint df bottom", "joint", { 216, 182 }, down);
        row("joint dd top", "joint", { 251, 124 }, up);
        row("joint dd bottom", "joint", { 251, 188 }, down);
        row("joint t left", "joint", { 280, 74 }, left);
        row("joint t right", "joint", { 386, 74 }, right);
        row("joint n left", "joint", { 280, 255 }, left);
        row("joint n right", "joint", { 402, 255 }, right);
        row("joint de top", "joint", { 500, 133 }, up);
        row("joint de bottom", "joint", { 500, 178 }, down);
    }

    void arrowhead_isSolidAtTip()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, tip);
        QFETCH(QPoint, direction);
        const QImage &img = drawing(name);
        const double n = std::hypot(direction.x(), direction.y());
        const QPointF u(direction.x() / n, direction.y() / n);
        const QPointF v(-u.y(), u.x());
        auto inkAt = [&](QPointF p) {
            return isInk(img, int(std::lround(p.x())), int(std::lround(p.y())));
        };
        QVERIFY2(inkAt(tip), "no tip");
        // Solid and at least three pixels wide well behind the tip ...
        for (double along : { 9.0, 11.0, 13.0 })
            for (double across : { -1.0, 0.0, 1.0 })
                QVERIFY2(inkAt(QPointF(tip) - u * along + v * across), "arrowhead not solid");
        // ... but narrow right at the tip, so the head points the right way.
        const bool narrow
            = !(inkAt(QPointF(tip) - u * 1.0 + v * 2.0) && inkAt(QPointF(tip) - u * 1.0 - v * 2.0));
        QVERIFY2(narrow, "arrowhead points the other way");
    }

    void hatching_isEvenlySpaced_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("x0");
        QTest::addColumn<int>("x1");
        QTest::addColumn<bool>("rising");
        QTest::newRow("plate above hole") << "joint" << 60 << 150 << 195 << true;
        QTest::newRow("plate below hole") << "joint" << 240 << 150 << 278 << true;
        QTest::newRow("base above rod") << "joint" << 110 << 284 << 380 << false;
        QTest::newRow("base below rod") << "joint" << 200 << 284 << 396 << false;
        QTest::newRow("base beyond drill") << "joint" << 120 << 404 << 450 << false;
    }

    void hatching_isEvenlySpaced()
    {
        QFETCH(QString, name);
        QFETCH(int, y);
        QFETCH(int, x0);
        QFETCH(int, x1);
        QFETCH(bool, rising);
        const QImage &img = drawing(name);
        QList<int> xs;
        for (int x = x0; x <= x1; ++x) {
            const QRgb c = at(img, x, y);
            QVERIFY2(c == ink || c == part, qPrintable(QStringLiteral("no section at %1").arg(x)));
            if (c == ink)
                xs << x;
        }
        QVERIFY2(xs.size() >= (x1 - x0) / 12, "too few section lines");
        for (int i = 1; i < xs.size(); ++i)
            QCOMPARE(xs[i] - xs[i - 1], 12);
        for (int x : xs) {
            if (x + 1 > x1)
                continue;
            QVERIFY2(isInk(img, x + 1, rising ? y - 1 : y + 1), "section line runs the wrong way");
            QVERIFY(!isInk(img, x + 1, y));
        }
    }

    void centreLine_isChainLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("bolt side view") << "bolt" << QPoint(229, 141) << QPoint(531, 141);
        QTest::newRow("bolt end view across") << "bolt" << QPoint(12, 141) << QPoint(128, 141);
        QTest::newRow("bolt end view upright") << "bolt" << QPoint(70, 76) << QPoint(70, 206);
        QTest::newRow("nut end view across") << "nut" << QPoint(70, 139) << QPoint(185, 139);
        QTest::newRow("nut end view upright") << "nut" << QPoint(127, 75) << QPoint(127, 203);
        QTest::newRow("joint") << "joint" << QPoint(84, 156) << QPoint(448, 156);
    }

    void centreLine_isChainLine()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        const QImage &img = drawing(name);
        const QPoint step = from.y() == to.y() ? QPoint(1, 0) : QPoint(0, 1);
        QVERIFY(isInk(img, from.x(), from.y()));
        QVERIFY(isInk(img, to.x(), to.y()));
        // Runs of ink and of gaps along the line; outlines crossing it may
        // split a gap, never widen one.
        QList<int> runs;
        bool inInk = true;
        int len = 0;
        for (QPoint p = from;; p += step) {
            const bool i = isInk(img, p.x(), p.y());
            if (i != inInk) {
                runs << len;
                len = 0;
                inInk = i;
            }
            ++len;
            if (p == to)
                break;
        }
        runs << len;
        int longDashes = 0;
        int shortDashes = 0;
        for (int k = 0; k < runs.size(); ++k) {
            if (k % 2 == 1) {
                QVERIFY2(runs[k] <= 8, "gap too wide");
                continue;
            }
            if (runs[k] >= 22 && runs[k] <= 45)
                ++longDashes;
            const bool betweenGaps
                = k > 0 && k + 1 < runs.size() && runs[k - 1] >= 4 && runs[k + 1] >= 4;
            if (betweenGaps && runs[k] >= 6 && runs[k] <= 10)
                ++shortDashes;
        }
        QVERIFY2(longDashes >= 2, "no long dashes");
        QVERIFY2(shortDashes >= 1, "no short dash between gaps");
    }

    // Every box and caption of the main window's pages must stand over free
    // ground, the leader that ends in it aside.
    void labelBox_standsClearOfTheDrawing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("box"); // pixels
        QTest::addColumn<QRect>("leader"); // pixels a leader may take inside, or empty
        QTest::addColumn<bool>("onPart"); // over a section: part grey, no hatching
        struct Drawn
        {
            QRect leader;
            bool onPart = false;
        };
        auto hLeader = [](int y, int x0, int x1) { return QRect(QPoint(x0, y), QPoint(x1, y)); };
        // What the drawings put inside some of the boxes, by drawing and label.
        const QHash<QString, Drawn> drawn = {
            { "bolt Label7", { hLeader(45, 328, 340) } },
            { "bolt Label4", { hLeader(55, 136, 140) } },
            { "bolt Label9", { hLeader(70, 472, 478) } },
            { "bolt Label8", { hLeader(79, 368, 376) } },
            { "bolt Label5", { hLeader(226, 173, 188) } },
            { "bolt Label6", { hLeader(266, 202, 212) } },
            { "nut Label11", { hLeader(45, 193, 204) } },
            { "nut Label14", { hLeader(58, 56, 64) } },
            { "nut Label15", { hLeader(231, 254, 268) } },
            { "joint Label17", { hLeader(52, 72, 81) } },
            { "joint Label19", { hLeader(55, 226, 240), true } },
            { "joint Label22", { hLeader(70, 476, 484) } },
            { "joint Label18", { hLeader(88, 191, 204), true } },
            { "joint Label24", { {}, true } },
        };
        const design::Window &form = viewer::layout::form1();
        // The opaque marker hides the hatching under it on purpose.
        auto checked
            = [](const design::Row &l) { return !(l.opaque && l.kind == design::Kind::Label); };
        int rows = 0;
        for (const auto &[picture, name] : pictures()) {
            for (const design::Row *l : design::rowsIn(form, picture)) {
                if (!checked(*l))
                    continue;
                const QString tag = name + u' ' + design::key(*l);
                const Drawn d = drawn.value(tag);
                QTest::newRow(qPrintable(tag))
                    << name << design::twipsRect(*l) << d.leader << d.onPart;
                ++rows;
            }
        }
        // Every row on a picture box, counted from the rows themselves: a
        // page that pictures() or rowsIn() missed would pass unchecked.
        auto onPictureBox = [&](const design::Row &l) {
            return std::ranges::any_of(form.rows, [&](const design::Row &box) {
                return box.kind == design::Kind::PictureBox && box.name == l.container;
            });
        };
        const int expected = int(std::ranges::count_if(
            form.rows, [&](const design::Row &l) { return onPictureBox(l) && checked(l); }));
        QVERIFY(expected > 0);
        QCOMPARE(rows, expected);
    }

    void labelBox_standsClearOfTheDrawing()
    {
        QFETCH(QString, name);
        QFETCH(QRect, box);
        QFETCH(QRect, leader);
        QFETCH(bool, onPart);
        const QImage &img = drawing(name);
        const QRect inner = box.adjusted(1, 1, -1, -1);
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x <= inner.right(); ++x) {
                const QRgb c = at(img, x, y);
                if (c == ink && !leader.contains(x, y))
                    QFAIL(
                        qPrintable(QStringLiteral("line under the label at %1, %2").arg(x).arg(y)));
                if (c == part && !onPart)
                    QFAIL(
                        qPrintable(QStringLiteral("part under the label at %1, %2").arg(x).arg(y)));
            }
        if (!leader.isEmpty()) {
            // The leader does reach into the box.
            QVERIFY(isInk(img, leader.right(), leader.top())
                || isInk(img, leader.left(), leader.top()));
        }
    }

    void hatchingUnderOpaqueMarker_isThere()
    {
        // The opaque caption stands over the lower edge of the base part's
        // hatching and blanks it out with its own ground.
        int markers = 0;
        for (const auto &[picture, name] : pictures())
            for (const design::Row *l : design::rowsIn(viewer::layout::form1(), picture)) {
                if (!l->opaque || l->kind != design::Kind::Label)
                    continue;
                ++markers;
                const QImage &img = drawing(name);
                const QRect box = design::twipsRect(*l);
                int inkPixels = 0;
                for (int y = box.top(); y <= box.bottom(); ++y)
                    for (int x = box.left(); x <= box.right(); ++x)
                        inkPixels += isInk(img, x, y);
                QVERIFY(inkPixels > 10);
            }
        QCOMPARE(markers, 1);
    }

    void icon_isSixteenColourIconWithMask()
    {
        const QByteArray b = rawAsset("vorlane.ico");
        QCOMPARE(b.size(), 6 + 16 + 40 + 16 * 4 + 32 * 16 + 32 * 4);
        QCOMPARE(le16(b, 0), quint16(0));
        QCOMPARE(le16(b, 2), quint16(1));
        QCOMPARE(le16(b, 4), quint16(1));
        QCOMPARE(quint8(b[6]), quint8(32));
        QCOMPARE(quint8(b[7]), quint8(32));
        QCOMPARE(quint8(b[8]), quint8(16));
        QCOMPARE(le16(b, 12), quint16(4));
        QCOMPARE(le32(b, 18), 22u);
        QCOMPARE(le32(b, 22), 40u);
        QCOMPARE(le32(b, 26), 32u);
        QCOMPARE(le32(b, 30), 64u); // XOR and AND bitmaps
        QCOMPARE(le16(b, 36), quint16(4));
        QCOMPARE(le32(b, 38), 0u);
        // The standard sixteen colours, in their order.
        const QRgb standard[16] = {
            qRgb(0, 0, 0),
            qRgb(128, 0, 0),
            qRgb(0, 128, 0),
            qRgb(128, 128, 0),
            qRgb(0, 0, 128),
            qRgb(128, 0, 128),
            qRgb(0, 128, 128),
            qRgb(192, 192, 192),
            qRgb(128, 128, 128),
            qRgb(255, 0, 0),
            qRgb(0, 255, 0),
            qRgb(255, 255, 0),
            qRgb(0, 0, 255),
            qRgb(255, 0, 255),
            qRgb(0, 255, 255),
            qRgb(255, 255, 255),
        };
        for (int i = 0; i < 16; ++i) {
            const int o = 62 + i * 4;
            QCOMPARE(qRgb(quint8(b[o + 2]), quint8(b[o + 1]), quint8(b[o])), standard[i]);
        }
    }

    void icon_showsBookWithGearsOnTransparentGround()
    {
        QVERIFY(QImageReader::supportedImageFormats().contains("ico"));
        const QImage ico = QImage(":/assets/vorlane.ico").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(ico.size(), QSize(32, 32));
        for (QPoint corner : { QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31) })
            QCOMPARE(qAlpha(ico.pixel(corner)), 0);
        QCOMPARE(qAlpha(ico.pixel(16, 16)), 255);
        QHash<QRgb, int> counts;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(ico.pixel(x, y)) == 255)
                    ++counts[ico.pixel(x, y)];
        // Cover, light, shade, edges, the two gears and their outlines.
        for (QRgb c : { qRgb(192, 192, 192), qRgb(255, 255, 255), qRgb(128, 128, 128),
                 qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 0, 0) })
            QVERIFY2(counts.value(c) >= 8, qPrintable(QString::number(c, 16)));
        // White gear at the upper left of the yellow one.
        auto centroid = [&](QRgb c) {
            QPointF sum;
            int n = 0;
            for (int y = 6; y < 29; ++y)
                for (int x = 10; x < 27; ++x)
                    if (ico.pixel(x, y) == c) {
                        sum += QPointF(x, y);
                        ++n;
                    }
            return n ? sum / n : QPointF();
        };
        const QPointF white = centroid(qRgb(255, 255, 255));
        const QPointF yellow = centroid(qRgb(255, 255, 0));
        QVERIFY(white.x() < yellow.x());
        QVERIFY(white.y() < yellow.y());
    }

    void iconPng_matchesIcon_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("size");
        QTest::newRow("32") << "vorlane.png" << 32;
        QTest::newRow("64") << "vorlane-64.png" << 64;
        QTest::newRow("128") << "vorlane-128.png" << 128;
        QTest::newRow("256") << "vorlane-256.png" << 256;
    }

    void iconPng_matchesIcon()
    {
        QFETCH(QString, file);
        QFETCH(int, size);
        const QImage ico = QImage(":/assets/vorlane.ico").convertToFormat(QImage::Format_ARGB32);
        const QImage png = QImage(":/assets/" + file).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(png.size(), QSize(size, size));
        const int scale = size / 32;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb a = ico.pixel(x / scale, y / scale);
                const QRgb b = png.pixel(x, y);
                if (qAlpha(a) == 0 ? qAlpha(b) != 0 : a != b)
                    QFAIL(qPrintable(QStringLiteral("differs at %1, %2").arg(x).arg(y)));
            }
    }

    void icon_servesAsWindowIcon()
    {
        for (const char *path : { ":/assets/vorlane.ico", ":/assets/vorlane.png" }) {
            const QIcon icon(QString::fromLatin1(path));
            QVERIFY2(!icon.isNull(), path);
            QCOMPARE(icon.pixmap(32, 32).size(), QSize(32, 32));
        }
    }
};

QTEST_MAIN(TestDrawings)
#include "tst_drawings.moc"
