// A yardstick for the start-up benchmark: what the main window's picture
// costs in plain Qt. The menu bar, the three pages with their drawings and
// labels, the navigation bar and the status bar, built from stock widgets
// with the first record of the data set written in; no database, no
// reader, no form runtime. The labels come from the viewer's design rows,
// the record from the data set the database is written from.
#include "assets/assets.h"
#include "forms/firstpaint.h"
#include "viewer/form1.h"
#include "viewer/form1_design.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kTwipsPerPixel = 15;

QRect pixels(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
        height / kTwipsPerPixel);
}

// The first record of the data set, by its column name ("m", "dk", ...).
// The columns before the free-text one hold no quotes or commas.
QHash<QString, QString> firstRecord()
{
    QFile csv(QStringLiteral(":/bench/jis-dimensions.csv"));
    QHash<QString, QString> record;
    if (!csv.open(QIODevice::ReadOnly))
        return record;
    const QStringList names = QString::fromUtf8(csv.readLine()).trimmed().split(u',');
    const QStringList values = QString::fromUtf8(csv.readLine()).split(u',');
    for (int i = 0; i < names.size() && i < values.size(); ++i)
        record.insert(names[i], values[i]);
    return record;
}

QFont font(const controls::FontDesign &design)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPointSizeF(design.size);
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vorlane::initAssets();

    QWidget window;
    window.setWindowTitle(QString::fromUtf8(viewer::design::kCaption));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *menus = new QMenuBar(&window);
    menus->setNativeMenuBar(false);
    menus->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"))->addAction(QStringLiteral("終了"));
    QMenu *front
        = menus->addMenu(QStringLiteral("表示(&V)"))->addMenu(QStringLiteral("常に手前表示"));
    front->addAction(QStringLiteral("ON"))->setCheckable(true);
    front->addAction(QStringLiteral("OFF"))->setCheckable(true);
    menus->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"))->addAction(QStringLiteral("Kantrellについて"));
    layout->setMenuBar(menus);

    auto *client = new QWidget(&window);
    client->setFixedSize(viewer::design::kClientWidth / kTwipsPerPixel,
        viewer::design::kClientHeight / kTwipsPerPixel);
    layout->addWidget(client);

    auto *tabs = new QTabWidget(client);
    tabs->setGeometry(pixels(0, 0, 8355, 5295));
    const char *drawings[] = { ":/assets/bolt.bmp", ":/assets/nut.bmp", ":/assets/joint.bmp" };
    QLabel *boxes[3];
    QWidget *pages[3];
    for (const QString caption : { QStringLiteral("六角ボルト各部の寸法"),
             QStringLiteral("六角ナット各部の寸法"), QStringLiteral("穴及び座ぐり寸法（参考）") }) {
        const int tab = tabs->count();
        pages[tab] = new QWidget;
        // A page starts where the drawing box stands in the tab control.
        boxes[tab] = new QLabel(pages[tab]);
        boxes[tab]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        boxes[tab]->setLineWidth(2);
        boxes[tab]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        boxes[tab]->setGeometry(pixels(60, 0, 8235, 4455));
        tabs->addTab(pages[tab], caption);
    }
    // The drawing of a page is read when the page is first shown.
    boxes[0]->setPixmap(QPixmap(QString::fromLatin1(drawings[0])));
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [&](int tab) {
        if (boxes[tab]->pixmap().isNull())
            boxes[tab]->setPixmap(QPixmap(QString::fromLatin1(drawings[tab])));
    });

    const QHash<QString, QString> record = firstRecord();
    for (const controls::ControlDesign &d : viewer::design::pageLabels()) {
        const bool onTab = d.container == QLatin1String("SSTab1");
        QWidget *parent = onTab ? pages[d.tab] : boxes[d.container.back().digitValue() - 1];
        auto *label = new QLabel(parent);
        label->setFont(font(d.font));
        QRect r = pixels(d.left, d.top, d.width, d.height);
        if (onTab)
            r.translate(0, -360 / kTwipsPerPixel);
        else
            r.translate(2, 2);
        label->setGeometry(r);
        if (d.kind == controls::Kind::ValueBox) {
            const QString value = record.value(d.caption);
            label->setText(value.isEmpty() ? d.nullText : value);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setAutoFillBackground(true);
        } else {
            label->setText(d.caption);
            label->adjustSize();
            label->setAutoFillBackground(d.opaque);
        }
        if (d.opaque) {
            QPalette p = label->palette();
            p.setColor(QPalette::Window, d.backColor);
            label->setPalette(p);
        }
    }

    auto *navigation = new QWidget(client);
    navigation->setGeometry(pixels(5340, 4860, 2895, 375));
    const QRect bar = navigation->rect();
    const int side = bar.height() * 3 / 4;
    const Qt::ArrowType arrows[] = { Qt::LeftArrow, Qt::LeftArrow, Qt::RightArrow, Qt::RightArrow };
    for (int i = 0; i < 4; ++i) {
        auto *button = new QToolButton(navigation);
        button->setArrowType(arrows[i]);
        const int x = i < 2 ? i * side : bar.width() - (4 - i) * side;
        button->setGeometry(x, 0, side, bar.height());
    }
    auto *caption = new QLabel(QStringLiteral(" 六角ボルト・ナット"), navigation);
    caption->setFont(font({ {}, 9.75 }));
    caption->setGeometry(bar.adjusted(2 * side, 0, -2 * side, 0));

    auto *status = new QStatusBar(client);
    status->setGeometry(pixels(0, 5295, 8385, 315));
    auto *panel1 = new QLabel(viewer::status::boltText);
    panel1->setFixedWidth(7120 / kTwipsPerPixel);
    status->addWidget(panel1);
    auto *panel2 = new QLabel;
    panel2->setFixedWidth(1200 / kTwipsPerPixel);
    status->addWidget(panel2);

    window.move(0, 0);
    forms::reportFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
