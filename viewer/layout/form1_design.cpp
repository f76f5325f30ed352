#include "viewer/layout/form1_design.h"

#include "design/fieldname.h"

namespace viewer::layout {

using design::Kind;
using design::Row;

namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

// Bound to Data1: opaque white, single border, centred, fixed size. Its
// design caption is the data set's column, its field that column's name in
// the table.
Row valueBox(const char *name, const char *container, int tab, int left, int top, int width,
    int height, const char *column, double pt = 12)
{
    Row d = design::row(name, Kind::ValueBox, left, top, width, height, container, tab);
    d.caption = QString::fromUtf8(column);
    d.font = { kPGothic, pt, false };
    d.dataSource = QStringLiteral("Data1");
    const auto field = design::fieldName(column);
    if (!field)
        throw design::Error(
            QStringLiteral("%1: the caption '%2' is no column name (ASCII letters and digits)")
                .arg(QString::fromUtf8(name), d.caption));
    d.dataField = QString::fromStdU16String(*field);
    d.opaque = true;
    d.backColor = QColor(255, 255, 255);
    d.border = true;
    d.alignment = Qt::AlignHCenter;
    // The JIS tables' mark for "not given".
    d.nullText = QStringLiteral("－");
    return d;
}

// A member of Label0: transparent, no border, left aligned, sized to its
// caption.
Row caption(int index, const char *container, int tab, int left, int top, int width, int height,
    const char *text, double pt = 12)
{
    Row d = design::row("Label0", Kind::Label, left, top, width, height, container, tab);
    d.index = index;
    d.caption = QString::fromUtf8(text);
    d.font = { kPGothic, pt, false };
    d.autoSize = true;
    d.alignment = Qt::AlignLeft;
    return d;
}

Row opaqueGrey(Row d)
{
    d.opaque = true;
    d.backColor = QColor(192, 192, 192);
    return d;
}

Row cancelButton()
{
    Row d = design::row("Command1", Kind::CommandButton, 240, 540, 975, 375);
    d.caption = QStringLiteral("終　了");
    d.cancel = true;
    d.tabIndex = 0;
    d.tabStop = true;
    return d;
}

Row tabControl()
{
    Row d = design::row("SSTab1", Kind::TabControl, 0, 0, 8355, 5295);
    d.tabCaptions = { QStringLiteral("六角ボルト各部の寸法"),
        QStringLiteral("六角ナット各部の寸法"), QStringLiteral("穴及び座ぐり寸法（参考）") };
    d.tabHeight = 295;
    d.tabIndex = 1;
    d.tabStop = true;
    return d;
}

// The drawing box of a page; only the hole page's is a tab stop.
Row drawingBox(const char *name, int tab, const char *picture, int tabIndex)
{
    Row d = design::row(name, Kind::PictureBox, 60, 360, 8235, 4455, "SSTab1", tab);
    d.picture = QString::fromUtf8(picture);
    d.tabIndex = tabIndex;
    d.tabStop = tab == 2;
    return d;
}

Row dataControl()
{
    Row d = design::row("Data1", Kind::DataControl, 5340, 4860, 2895, 375);
    d.caption = QStringLiteral(" 六角ボルト・ナット");
    d.font = { kPGothic, 9.75, false };
    d.recordSource = QStringLiteral("六角ボルト・ナット");
    return d;
}

Row statusBar()
{
    Row d = design::row("StatusBar1", Kind::StatusBar, 0, 5295, 8385, 315);
    d.tabIndex = 47;
    d.panels = { { 7120, Qt::AlignLeft }, { 1200, Qt::AlignHCenter } };
    return d;
}

// Under the drawing of a tab: the nominal size, "×", the pitch.
void addSizeLine(std::vector<Row> &rows, int tab, const char *size, int times, const char *pitch)
{
    rows.push_back(valueBox(size, "SSTab1", tab, 120, 4860, 855, 345, "m", 14.25));
    rows.push_back(caption(times, "SSTab1", tab, 1020, 4920, 240, 240, "×"));
    rows.push_back(valueBox(pitch, "SSTab1", tab, 1320, 4860, 765, 345, "p", 14.25));
}

design::Window makeForm1()
{
    design::Window w;
    w.caption = QStringLiteral("Kantrell【六角ボルト・ナット】 JIS B 1180・1181(1988)");
    w.clientWidth = 8385;
    w.clientHeight = 5610;
    w.rows = {
        // The window's controls, back to front: the hidden Cancel button
        // lies behind the tab control, the navigation bar and the status
        // bar in front of it.
        cancelButton(),
        tabControl(),
        drawingBox("Picture1", 0, ":/assets/bolt.bmp", 2),
        drawingBox("Picture2", 1, ":/assets/nut.bmp", 15),
        drawingBox("Picture3", 2, ":/assets/joint.bmp", 28),
        dataControl(),
        statusBar(),

        // Bolt page, inside Picture1.
        caption(5, "Picture1", -1, 3780, 180, 960, 240, "15゜～30゜"),
        caption(0, "Picture1", -1, 7020, 180, 960, 240, "単位：mm"),
        valueBox("Label7", "Picture1", -1, 4920, 540, 600, 300, "da"),
        valueBox("Label4", "Picture1", -1, 1500, 660, 600, 300, "e"),
        valueBox("Label9", "Picture1", -1, 7080, 900, 600, 300, "ma"),
        valueBox("Label8", "Picture1", -1, 5520, 1020, 600, 300, "ds"),
        caption(8, "Picture1", -1, 5220, 3000, 165, 285, "X", 14.25),
        caption(18, "Picture1", -1, 6780, 3000, 135, 285, "b", 14.25),
        valueBox("Label5", "Picture1", -1, 2220, 3240, 600, 300, "dk"),
        valueBox("Label3", "Picture1", -1, 780, 3420, 600, 300, "s"),
        caption(19, "Picture1", -1, 6060, 3660, 150, 285, "L", 14.25),
        valueBox("Label6", "Picture1", -1, 2580, 3840, 600, 300, "k"),
        // Nut page, inside Picture2.
        caption(6, "Picture2", -1, 5040, 180, 960, 240, "15゜～30゜"),
        caption(7, "Picture2", -1, 7020, 180, 960, 240, "単位：mm"),
        valueBox("Label11", "Picture2", -1, 2460, 540, 600, 300, "ea"),
        valueBox("Label14", "Picture2", -1, 240, 720, 720, 300, "m"),
        caption(17, "Picture2", -1, 240, 1080, 105, 240, "x"),
        valueBox("Label25", "Picture2", -1, 420, 1080, 510, 300, "pa"),
        valueBox("Label15", "Picture2", -1, 3420, 3300, 600, 300, "dk"),
        valueBox("Label13", "Picture2", -1, 4920, 3300, 540, 300, "k1"),
        valueBox("Label16", "Picture2", -1, 6120, 3300, 600, 300, "k3"),
        valueBox("Label12", "Picture2", -1, 1620, 3360, 600, 300, "sa"),
        caption(9, "Picture2", -1, 4950, 3990, 480, 240, "１ 種"),
        caption(10, "Picture2", -1, 6840, 3990, 480, 240, "３ 種"),
        // Hole page, inside Picture3.
        caption(4, "Picture3", -1, 7020, 180, 960, 240, "単位：mm"),
        valueBox("Label20", "Picture3", -1, 4920, 420, 600, 300, "t1"),
        caption(13, "Picture3", -1, 4500, 450, 360, 240, "★："),
        valueBox("Label17", "Picture3", -1, 1080, 630, 600, 300, "z"),
        valueBox("Label19", "Picture3", -1, 3000, 690, 600, 300, "dd"),
        valueBox("Label21", "Picture3", -1, 4920, 750, 600, 300, "t2"),
        caption(14, "Picture3", -1, 4500, 795, 360, 240, "◎："),
        valueBox("Label22", "Picture3", -1, 6660, 900, 600, 300, "de"),
        valueBox("Label18", "Picture3", -1, 2460, 1170, 600, 300, "df"),
        valueBox("Label24", "Picture3", -1, 4995, 3120, 600, 300, "n1"),
        // Stands over the lower edge of the hatching and blanks it out.
        opaqueGrey(caption(15, "Picture3", -1, 4590, 3150, 360, 240, "★：")),
        valueBox("Label23", "Picture3", -1, 4995, 3450, 600, 300, "n2"),
        caption(16, "Picture3", -1, 4590, 3480, 360, 240, "◎："),
        caption(11, "Picture3", -1, 6840, 3585, 915, 240, "★：鋼 鉄"),
        caption(12, "Picture3", -1, 6840, 3885, 915, 240, "◎：鋳 鉄"),
    };
    // The size lines lie on the tab control's pages, beneath the drawings.
    addSizeLine(w.rows, 0, "Label10", 1, "Label2");
    addSizeLine(w.rows, 1, "Label1", 2, "Label26");
    addSizeLine(w.rows, 2, "Label27", 3, "Label28");
    return w;
}

} // namespace

const design::Window &form1()
{
    static const design::Window window = makeForm1();
    return window;
}

} // namespace viewer::layout
