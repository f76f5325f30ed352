// A yardstick for the start-up benchmark: what the main window's picture
// costs in plain Qt. The menu bar, the three pages with their drawings and
// labels, the navigation bar and the status bar, built from stock widgets
// with the first record of the data set written in; no database, no
// reader, no form runtime. The labels come from the viewer's design rows,
// the record from the data set the database is written from.
#include "assets/assets.h"
#include "forms/firstpaint.h"
#include "viewer/form1.h"
#include "viewer/layout/form1_design.h"

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

QFont font(const design::Font &design)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPointSizeF(design.size);
    return f;
}

QRect pixels(const design::Row &row)
{
    return pixels(row.left, row.top, row.width, row.height);
}

// A label or value box of the design, written in as a plain label.
void addLabel(
    QWidget *parent, const design::Row &d, const QHash<QString, QString> &record, QPoint offset)
{
    auto *label = new QLabel(parent);
    label->setFont(font(d.font));
    label->setGeometry(pixels(d).translated(offset));
    if (d.kind == design::Kind::ValueBox) {
        const QString value = record.value(d.caption);
        label->setText(value.isEmpty() ? d.nullText : value);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    } else {
        label->setText(d.caption);
        label->adjustSize();
    }
    label->setAutoFillBackground(d.opaque);
    if (d.opaque) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, d.backColor);
        label->setPalette(p);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vorlane::initAssets();
    const design::Window &form = viewer::layout::form1();

    QWidget window;
    window.setWindowTitle(form.caption);
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
    client->setFixedSize(form.clientWidth / kTwipsPerPixel, form.clientHeight / kTwipsPerPixel);
    layout->addWidget(client);

    const QHash<QString, QString> record = firstRecord();
    QTabWidget *tabs = nullptr;
    QHash<QString, QLabel *> boxes; // the drawing boxes by name
    QList<QWidget *> pages;
    // A page starts where its drawing box stands in the tab control.
    const QPoint onPage(0, -360 / kTwipsPerPixel);
    for (const design::Row &d : form.rows) {
        switch (d.kind) {
        case design::Kind::TabControl:
            tabs = new QTabWidget(client);
            tabs->setGeometry(pixels(d));
            for (const QString &caption : d.tabCaptions) {
                pages << new QWidget;
                tabs->addTab(pages.back(), caption);
            }
            break;
        case design::Kind::PictureBox: {
            auto *box = new QLabel(pages.value(d.tab));
            box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            box->setLineWidth(2);
            box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            box->setGeometry(pixels(d).translated(onPage));
            box->setProperty("picture", d.picture);
            // The drawing of a page is read when the page is first shown.
            if (d.tab == 0)
                box->setPixmap(QPixmap(d.picture));
            boxes.insert(d.name, box);
            break;
        }
        case design::Kind::Label:
        case design::Kind::ValueBox:
            if (boxes.contains(d.container))
                addLabel(boxes.value(d.container), d, record, QPoint(2, 2));
            else if (d.tab >= 0)
                addLabel(pages.value(d.tab), d, record, onPage);
            else
                addLabel(client, d, record, {});
            break;
        case design::Kind::DataControl: {
            auto *navigation = new QWidget(client);
            navigation->setGeometry(pixels(d));
            const QRect bar = navigation->rect();
            const int side = bar.height() * 3 / 4;
            const Qt::ArrowType arrows[]
                = { Qt::LeftArrow, Qt::LeftArrow, Qt::RightArrow, Qt::RightArrow };
            for (int i = 0; i < 4; ++i) {
                auto *button = new QToolButton(navigation);
                button->setArrowType(arrows[i]);
                const int x = i < 2 ? i * side : bar.width() - (4 - i) * side;
                button->setGeometry(x, 0, side, bar.height());
            }
            auto *caption = new QLabel(d.caption, navigation);
            caption->setFont(font(d.font));
            caption->setGeometry(bar.adjusted(2 * side, 0, -2 * side, 0));
            break;
        }
        case design::Kind::StatusBar: {
            auto *status = new QStatusBar(client);
            status->setGeometry(pixels(d));
            for (const design::Panel &panel : d.panels) {
                // Panel 1 shows the bolt page's text at start.
                auto *text = new QLabel(
                    &panel == &d.panels.front() ? viewer::status::boltText : QString());
                text->setFixedWidth(panel.width / kTwipsPerPixel);
                text->setAlignment(panel.alignment);
                status->addWidget(text);
            }
            break;
        }
        default: // the hidden Cancel button: nothing to see
            break;
        }
    }
    if (tabs) {
        QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [&boxes, &pages](int tab) {
            for (QLabel *box : std::as_const(boxes))
                if (box->parentWidget() == pages.value(tab) && box->pixmap().isNull())
                    box->setPixmap(QPixmap(box->property("picture").toString()));
        });
    }

    window.move(0, 0);
    forms::reportFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
