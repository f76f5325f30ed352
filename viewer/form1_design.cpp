#include "viewer/form1_design.h"

namespace viewer::design {

using controls::ControlDesign;
using controls::FontDesign;
using controls::Kind;

namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int kJapanese = 128;

// Bound to Data1: opaque white, single border, centred, fixed size.
ControlDesign valueBox(const char *name, const char *container, int tab, int left, int top,
    int width, int height, const char *caption, const char *field, double pt = 12)
{
    ControlDesign d;
    d.name = QString::fromUtf8(name);
    d.kind = Kind::ValueBox;
    d.container = QString::fromUtf8(container);
    d.tab = tab;
    d.left = left, d.top = top, d.width = width, d.height = height;
    d.caption = QString::fromUtf8(caption);
    d.font = FontDesign { kPGothic, pt, false, kJapanese };
    d.dataSource = QStringLiteral("Data1");
    d.dataField = QString::fromUtf8(field);
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
ControlDesign caption(int index, const char *container, int tab, int left, int top, int width,
    int height, const char *text, double pt = 12)
{
    ControlDesign d;
    d.name = QStringLiteral("Label0");
    d.index = index;
    d.kind = Kind::Label;
    d.container = QString::fromUtf8(container);
    d.tab = tab;
    d.left = left, d.top = top, d.width = width, d.height = height;
    d.caption = QString::fromUtf8(text);
    d.font = FontDesign { kPGothic, pt, false, kJapanese };
    d.autoSize = true;
    d.alignment = Qt::AlignLeft;
    return d;
}

ControlDesign opaqueGrey(ControlDesign d)
{
    d.opaque = true;
    d.backColor = QColor(192, 192, 192);
    return d;
}

} // namespace

const std::vector<ControlDesign> &windowControls()
{
    static const std::vector<ControlDesign> rows = [] {
        std::vector<ControlDesign> r;
        ControlDesign cancel;
        cancel.name = QStringLiteral("Command1");
        cancel.kind = Kind::CommandButton;
        cancel.left = 240, cancel.top = 540, cancel.width = 975, cancel.height = 375;
        cancel.caption = QStringLiteral("終　了");
        cancel.cancel = true;
        cancel.tabIndex = 0;
        cancel.tabStop = true;
        r.push_back(cancel);

        const char *pictures[] = { "Picture1", "Picture2", "Picture3" };
        const int tabIndex[] = { 2, 15, 28 };
        for (int tab = 0; tab < 3; ++tab) {
            ControlDesign pic;
            pic.name = QString::fromUtf8(pictures[tab]);
            pic.kind = Kind::PictureBox;
            pic.container = QStringLiteral("SSTab1");
            pic.tab = tab;
            pic.left = 60, pic.top = 360, pic.width = 8235, pic.height = 4455;
            pic.tabIndex = tabIndex[tab];
            pic.tabStop = tab == 2;
            r.push_back(pic);
        }
        return r;
    }();
    return rows;
}

const std::vector<ControlDesign> &pageLabels()
{
    static const std::vector<ControlDesign> rows = {
        // Bolt page, inside Picture1.
        caption(5, "Picture1", -1, 3780, 180, 960, 240, "15゜～30゜"),
        caption(0, "Picture1", -1, 7020, 180, 960, 240, "単位：mm"),
        valueBox("Label7", "Picture1", -1, 4920, 540, 600, 300, "da", "ｄａ"),
        valueBox("Label4", "Picture1", -1, 1500, 660, 600, 300, "e", "ｅ"),
        valueBox("Label9", "Picture1", -1, 7080, 900, 600, 300, "ma", "ｍａ"),
        valueBox("Label8", "Picture1", -1, 5520, 1020, 600, 300, "ds", "ｄｓ"),
        caption(8, "Picture1", -1, 5220, 3000, 165, 285, "X", 14.25),
        caption(18, "Picture1", -1, 6780, 3000, 135, 285, "b", 14.25),
        valueBox("Label5", "Picture1", -1, 2220, 3240, 600, 300, "dk", "ｄｋ"),
        valueBox("Label3", "Picture1", -1, 780, 3420, 600, 300, "s", "ｓ"),
        caption(19, "Picture1", -1, 6060, 3660, 150, 285, "L", 14.25),
        valueBox("Label6", "Picture1", -1, 2580, 3840, 600, 300, "k", "ｋ"),
        // Bolt page, size line on the tab control.
        valueBox("Label10", "SSTab1", 0, 120, 4860, 855, 345, "m", "ｍ", 14.25),
        caption(1, "SSTab1", 0, 1020, 4920, 240, 240, "×"),
        valueBox("Label2", "SSTab1", 0, 1320, 4860, 765, 345, "p", "ｐ", 14.25),

        // Nut page, inside Picture2.
        caption(6, "Picture2", -1, 5040, 180, 960, 240, "15゜～30゜"),
        caption(7, "Picture2", -1, 7020, 180, 960, 240, "単位：mm"),
        valueBox("Label11", "Picture2", -1, 2460, 540, 600, 300, "ea", "ｅａ"),
        valueBox("Label14", "Picture2", -1, 240, 720, 720, 300, "m", "ｍ"),
        caption(17, "Picture2", -1, 240, 1080, 105, 240, "x"),
        valueBox("Label25", "Picture2", -1, 420, 1080, 510, 300, "pa", "ｐａ"),
        valueBox("Label15", "Picture2", -1, 3420, 3300, 600, 300, "dk", "ｄｋ"),
        valueBox("Label13", "Picture2", -1, 4920, 3300, 540, 300, "k1", "ｋ１"),
        valueBox("Label16", "Picture2", -1, 6120, 3300, 600, 300, "k3", "ｋ３"),
        valueBox("Label12", "Picture2", -1, 1620, 3360, 600, 300, "sa", "ｓａ"),
        caption(9, "Picture2", -1, 4950, 3990, 480, 240, "１ 種"),
        caption(10, "Picture2", -1, 6840, 3990, 480, 240, "３ 種"),
        // Nut page, size line.
        valueBox("Label1", "SSTab1", 1, 120, 4860, 855, 345, "m", "ｍ", 14.25),
        caption(2, "SSTab1", 1, 1020, 4920, 240, 240, "×"),
        valueBox("Label26", "SSTab1", 1, 1320, 4860, 765, 345, "p", "ｐ", 14.25),

        // Hole page, inside Picture3.
        caption(4, "Picture3", -1, 7020, 180, 960, 240, "単位：mm"),
        valueBox("Label20", "Picture3", -1, 4920, 420, 600, 300, "t1", "ｔ１"),
        caption(13, "Picture3", -1, 4500, 450, 360, 240, "★："),
        valueBox("Label17", "Picture3", -1, 1080, 630, 600, 300, "z", "ｚ"),
        valueBox("Label19", "Picture3", -1, 3000, 690, 600, 300, "dd", "ｄｄ"),
        valueBox("Label21", "Picture3", -1, 4920, 750, 600, 300, "t2", "ｔ２"),
        caption(14, "Picture3", -1, 4500, 795, 360, 240, "◎："),
        valueBox("Label22", "Picture3", -1, 6660, 900, 600, 300, "de", "ｄｅ"),
        valueBox("Label18", "Picture3", -1, 2460, 1170, 600, 300, "df", "ｄｆ"),
        valueBox("Label24", "Picture3", -1, 4995, 3120, 600, 300, "n1", "ｎ１"),
        // Stands over the lower edge of the hatching and blanks it out.
        opaqueGrey(caption(15, "Picture3", -1, 4590, 3150, 360, 240, "★：")),
        valueBox("Label23", "Picture3", -1, 4995, 3450, 600, 300, "n2", "ｎ２"),
        caption(16, "Picture3", -1, 4590, 3480, 360, 240, "◎："),
        caption(11, "Picture3", -1, 6840, 3585, 915, 240, "★：鋼 鉄"),
        caption(12, "Picture3", -1, 6840, 3885, 915, 240, "◎：鋳 鉄"),
        // Hole page, size line.
        valueBox("Label27", "SSTab1", 2, 120, 4860, 855, 345, "m", "ｍ", 14.25),
        caption(3, "SSTab1", 2, 1020, 4920, 240, 240, "×"),
        valueBox("Label28", "SSTab1", 2, 1320, 4860, 765, 345, "p", "ｐ", 14.25),
    };
    return rows;
}

} // namespace viewer::design
