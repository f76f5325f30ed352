#include "controls/design.h"

#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "forms/twips.h"

#include <QFrame>

namespace controls {

QString controlKey(const QString &name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

void applyFont(QWidget *widget, const FontDesign &font)
{
    if (font.name.isEmpty() && font.size <= 0 && !font.underline)
        return;
    QFont f = widget->font();
    if (!font.name.isEmpty())
        f.setFamily(font.name);
    if (font.size > 0)
        f.setPointSizeF(font.size);
    f.setUnderline(font.underline);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setStrikeOut(false);
    widget->setFont(f);
}

QHash<QString, QWidget *> build(
    QWidget *form, const std::vector<ControlDesign> &rows, QHash<QString, QWidget *> controls)
{
    for (const auto &row : rows) {
        QWidget *parent = row.container.isEmpty() ? form : controls.value(row.container);
        Q_ASSERT_X(parent, "controls::build", qPrintable(row.container));
        // Children of a picture box are placed from the inside of its border.
        const QPoint origin
            = qobject_cast<PictureBox *>(parent) ? parent->contentsRect().topLeft() : QPoint();
        QWidget *w = nullptr;
        switch (row.kind) {
        case Kind::Label:
        case Kind::ValueBox: {
            auto *l = new Label(parent);
            applyFont(l, row.font);
            l->setBackStyle(row.opaque, row.backColor);
            l->setFixedSingleBorder(row.border);
            l->setAlignment(row.alignment | Qt::AlignVCenter);
            if (row.foreColor.isValid()) {
                QPalette pal = l->palette();
                pal.setColor(QPalette::WindowText, row.foreColor);
                l->setPalette(pal);
            }
            l->setGeometry(
                forms::twipsRect(row.left, row.top, row.width, row.height).translated(origin));
            l->setCaption(row.caption);
            l->setAutoSize(row.autoSize);
            l->setNullText(row.nullText);
            if (!row.dataSource.isEmpty())
                l->bind(qobject_cast<DataControl *>(controls.value(row.dataSource)), row.dataField);
            w = l;
            break;
        }
        case Kind::CommandButton: {
            auto *b = new CommandButton(parent);
            applyFont(b, row.font);
            b->setText(row.caption);
            b->setGeometry(forms::twipsRect(row.left, row.top, row.width, row.height));
            b->setCancel(row.cancel);
            w = b;
            break;
        }
        case Kind::PictureBox: {
            auto *p = new PictureBox(parent);
            p->setGeometry(forms::twipsRect(row.left, row.top, row.width, row.height));
            p->setTabStop(row.tabStop);
            w = p;
            break;
        }
        case Kind::Frame: {
            auto *f = new QFrame(parent);
            f->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            f->setGeometry(forms::twipsRect(row.left, row.top, row.width, row.height));
            f->setFocusPolicy(Qt::NoFocus);
            w = f;
            break;
        }
        }
        w->setObjectName(controlKey(row.name, row.index));
        w->raise();
        if (row.tab >= 0)
            if (auto *tab = qobject_cast<SSTab *>(parent))
                tab->addToTab(row.tab, w);
        controls.insert(controlKey(row.name, row.index), w);
    }
    return controls;
}

} // namespace controls
