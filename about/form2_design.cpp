#include "about/form2_design.h"

namespace about::layout {

using design::Kind;
using design::Row;

namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

Row label(const char *name, int index, int left, int top, int width, int height,
    const char *caption, double pt, bool autoSize, int tabIndex)
{
    Row d = design::row(name, Kind::Label, left, top, width, height);
    d.index = index;
    d.caption = QString::fromUtf8(caption);
    d.font = { kPGothic, pt, false };
    d.autoSize = autoSize;
    d.opaque = false;
    d.tabIndex = tabIndex;
    return d;
}

design::Window makeForm2()
{
    design::Window w;
    w.caption = QStringLiteral("information");
    w.clientWidth = 4815;
    w.clientHeight = 5040;
    std::vector<Row> &rows = w.rows;
    // Labels back to front: Label4 lies at the back, the link in front.
    rows.push_back(label("Label4", -1, 1920, 840, 840, 240, "Vre 4.20", 12, true, 1));
    rows.push_back(label("Label3", -1, 1320, 180, 2280, 240, "Kantrellシリーズ", 12, true, 2));
    Row title = label(
        "Label1", -1, 540, 540, 3720, 240, "六角ﾎﾞﾙﾄ・ﾅｯﾄ JIS B 1180・1(1985)", 12, false, 3);
    title.alignment = Qt::AlignHCenter;
    rows.push_back(title);
    rows.push_back(label("Label11", -1, 420, 1140, 4035, 225, kMakerLine, 11.25, true, 4));
    rows.push_back(label("Label12", -1, 840, 1380, 3015, 195, kMailLine, 9.75, true, 5));
    Row link = label("Label13", 7, 840, 1560, 3420, 195, kWebAddress, 9.75, true, 7);
    link.font.underline = true;
    link.foreColor = QColor(0, 0, 255);
    rows.push_back(link);

    Row frame = design::row("Frame1", Kind::Frame, 180, 1860, 4515, 75);
    frame.tabIndex = 6;
    rows.push_back(frame);

    Row cancel = design::row("Command1", Kind::CommandButton, 2640, 4500, 975, 375);
    cancel.caption = QStringLiteral("ｷｬﾝｾﾙ");
    cancel.tabIndex = 0;
    cancel.tabStop = true;
    cancel.cancel = true;
    rows.push_back(cancel);
    return w;
}

} // namespace

const design::Window &form2()
{
    static const design::Window window = makeForm2();
    return window;
}

} // namespace about::layout
