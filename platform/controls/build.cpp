#include "controls/build.h"

#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/formlabel.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "controls/statusbar.h"
#include "design/twips.h"
#include "forms/runtime.h"
#include "forms/system.h"

#include <QFrame>

#include <algorithm>
#include <map>

namespace controls {

using design::Kind;
using design::Row;

QFont designFont(QFont f, const design::Font &font)
{
    if (font.name.isEmpty() && font.size <= 0 && !font.underline)
        return f;
    if (!font.name.isEmpty())
        f.setFamily(forms::fontFamily(font.name));
    if (font.size > 0)
        f.setPointSizeF(font.size);
    f.setUnderline(font.underline);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setStrikeOut(false);
    return f;
}

namespace {

void setFont(QWidget *w, const design::Font &font)
{
    if (!font.name.isEmpty() || font.size > 0 || font.underline)
        w->setFont(designFont(w->font(), font));
}

// Drawn by its picture box or tab page.
Label *makeLabel(QWidget *container, const Row &row)
{
    auto *l = new Label(container, row.tab);
    // Children of a picture box are placed from the inside of its border.
    const QPoint origin
        = qobject_cast<PictureBox *>(container) ? container->contentsRect().topLeft() : QPoint();
    l->setFont(designFont(container->font(), row.font));
    l->setBackStyle(row.opaque, row.backColor);
    l->setFixedSingleBorder(row.border);
    l->setAlignment(row.alignment | Qt::AlignVCenter);
    l->setForeColor(row.foreColor);
    l->setGeometry(design::twipsRect(row).translated(origin));
    l->setCaption(row.caption);
    l->setAutoSize(row.autoSize);
    l->setNullText(row.nullText);
    l->setObjectName(design::key(row));
    return l;
}

QWidget *makeWindow(QWidget *parent, const Row &row, forms::Form &form)
{
    switch (row.kind) {
    case Kind::Label:
    case Kind::ValueBox: {
        auto *l = new FormLabel(parent);
        setFont(l, row.font);
        l->setBackStyle(row.opaque, row.backColor);
        l->setFixedSingleBorder(row.border);
        l->setAlignment(row.alignment | Qt::AlignVCenter);
        if (row.foreColor.isValid()) {
            QPalette pal = l->palette();
            pal.setColor(QPalette::WindowText, row.foreColor);
            l->setPalette(pal);
        }
        l->setGeometry(design::twipsRect(row));
        l->setCaption(row.caption);
        l->setAutoSize(row.autoSize);
        return l;
    }
    case Kind::CommandButton: {
        auto *b = new CommandButton(parent);
        setFont(b, row.font);
        b->setText(row.caption);
        b->setGeometry(design::twipsRect(row));
        b->setCancel(row.cancel);
        return b;
    }
    case Kind::PictureBox: {
        auto *p = new PictureBox(parent);
        p->setGeometry(design::twipsRect(row));
        p->setTabStop(row.tabStop);
        if (!row.picture.isEmpty())
            p->setPictureFile(row.picture);
        return p;
    }
    case Kind::Frame: {
        auto *f = new QFrame(parent);
        f->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        f->setGeometry(design::twipsRect(row));
        f->setFocusPolicy(Qt::NoFocus);
        return f;
    }
    case Kind::TabControl: {
        auto *t = new SSTab(parent);
        setFont(t, row.font);
        t->setGeometry(design::twipsRect(row));
        t->setTabHeight(design::twipsToPixels(row.tabHeight));
        t->setTabs(row.tabCaptions);
        return t;
    }
    case Kind::DataControl: {
        auto *d = new DataControl(parent);
        d->setGeometry(design::twipsRect(row));
        d->setCaption(row.caption);
        setFont(d, row.font);
        d->RecordSource = row.recordSource;
        // The record source opens once the window's Form_Load has returned
        // and the window is shown; an unload ends a read under way.
        QObject::connect(
            &form, &forms::Form::loadCompleted, d, &DataControl::open, Qt::DirectConnection);
        QObject::connect(&form, &forms::Form::unloaded, d, &DataControl::stopReading);
        return d;
    }
    case Kind::StatusBar: {
        auto *s = new StatusBar(parent);
        s->setGeometry(design::twipsRect(row));
        for (const design::Panel &panel : row.panels)
            s->addPanel(design::twipsToPixels(panel.width), panel.alignment);
        return s;
    }
    }
    return nullptr;
}

} // namespace

Controls build(forms::Form &form, const design::Window &window)
{
    design::check(window);
    Controls built;
    std::multimap<int, QWidget *> tabStops;
    for (const Row &row : window.rows) {
        const QString key = design::key(row);
        QWidget *parent
            = row.container.isEmpty() ? form.client() : built.windows.value(row.container);
        const bool drawn = qobject_cast<PictureBox *>(parent) || qobject_cast<SSTab *>(parent);
        if (drawn && (row.kind == Kind::Label || row.kind == Kind::ValueBox)) {
            built.labels.insert(key, makeLabel(parent, row));
            continue;
        }
        if (!row.dataSource.isEmpty())
            throw design::Error(
                key + QStringLiteral(": only a label on a picture box or a tab page can be bound"));
        QWidget *w = makeWindow(parent, row, form);
        w->setObjectName(key);
        w->raise();
        if (auto *tabs = qobject_cast<SSTab *>(parent))
            tabs->addToTab(row.tab, w);
        if (row.tabStop && row.tabIndex >= 0)
            tabStops.emplace(row.tabIndex, w);
        built.windows.insert(key, w);
    }
    for (const Row &row : window.rows)
        if (!row.dataSource.isEmpty())
            built.labels.value(design::key(row))
                ->bind(built.get<DataControl>(row.dataSource), row.dataField);
    QWidget *previous = nullptr;
    for (const auto &[index, w] : tabStops) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
    return built;
}

} // namespace controls
