#include "labels.h"

namespace drawgen {

const std::vector<PageLabel> &pageLabels(Drawing drawing)
{
    static const std::vector<PageLabel> bolt = {
        { "Label0(5)", 3780, 180, 960, 240, false, QStringLiteral(u"15゜～30゜") },
        { "Label0(0)", 7020, 180, 960, 240, false, QStringLiteral(u"単位：mm") },
        { "Label7", 4920, 540, 600, 300, true, QStringLiteral("da") },
        { "Label4", 1500, 660, 600, 300, true, QStringLiteral("e") },
        { "Label9", 7080, 900, 600, 300, true, QStringLiteral("ma") },
        { "Label8", 5520, 1020, 600, 300, true, QStringLiteral("ds") },
        { "Label0(8)", 5220, 3000, 165, 285, false, QStringLiteral("X") },
        { "Label0(18)", 6780, 3000, 135, 285, false, QStringLiteral("b") },
        { "Label5", 2220, 3240, 600, 300, true, QStringLiteral("dk") },
        { "Label3", 780, 3420, 600, 300, true, QStringLiteral("s") },
        { "Label0(19)", 6060, 3660, 150, 285, false, QStringLiteral("L") },
        { "Label6", 2580, 3840, 600, 300, true, QStringLiteral("k") },
    };
    static const std::vector<PageLabel> nut = {
        { "Label0(6)", 5040, 180, 960, 240, false, QStringLiteral(u"15゜～30゜") },
        { "Label0(7)", 7020, 180, 960, 240, false, QStringLiteral(u"単位：mm") },
        { "Label11", 2460, 540, 600, 300, true, QStringLiteral("ea") },
        { "Label14", 240, 720, 720, 300, true, QStringLiteral("m") },
        { "Label0(17)", 240, 1080, 105, 240, false, QStringLiteral("x") },
        { "Label25", 420, 1080, 510, 300, true, QStringLiteral("pa") },
        { "Label15", 3420, 3300, 600, 300, true, QStringLiteral("dk") },
        { "Label13", 4920, 3300, 540, 300, true, QStringLiteral("k1") },
        { "Label16", 6120, 3300, 600, 300, true, QStringLiteral("k3") },
        { "Label12", 1620, 3360, 600, 300, true, QStringLiteral("sa") },
        { "Label0(9)", 4950, 3990, 480, 240, false, QStringLiteral(u"１ 種") },
        { "Label0(10)", 6840, 3990, 480, 240, false, QStringLiteral(u"３ 種") },
    };
    static const std::vector<PageLabel> joint = {
        { "Label0(4)", 7020, 180, 960, 240, false, QStringLiteral(u"単位：mm") },
        { "Label20", 4920, 420, 600, 300, true, QStringLiteral("t1") },
        { "Label0(13)", 4500, 450, 360, 240, false, QStringLiteral(u"★：") },
        { "Label17", 1080, 630, 600, 300, true, QStringLiteral("z") },
        { "Label19", 3000, 690, 600, 300, true, QStringLiteral("dd") },
        { "Label21", 4920, 750, 600, 300, true, QStringLiteral("t2") },
        { "Label0(14)", 4500, 795, 360, 240, false, QStringLiteral(u"◎：") },
        { "Label22", 6660, 900, 600, 300, true, QStringLiteral("de") },
        { "Label18", 2460, 1170, 600, 300, true, QStringLiteral("df") },
        { "Label24", 4995, 3120, 600, 300, true, QStringLiteral("n1") },
        { "Label0(15)", 4590, 3150, 360, 240, false, QStringLiteral(u"★：") },
        { "Label23", 4995, 3450, 600, 300, true, QStringLiteral("n2") },
        { "Label0(16)", 4590, 3480, 360, 240, false, QStringLiteral(u"◎：") },
        { "Label0(11)", 6840, 3585, 915, 240, false, QStringLiteral(u"★：鋼 鉄") },
        { "Label0(12)", 6840, 3885, 915, 240, false, QStringLiteral(u"◎：鋳 鉄") },
    };
    switch (drawing) {
    case Drawing::Bolt:
        return bolt;
    case Drawing::Nut:
        return nut;
    case Drawing::Joint:
        break;
    }
    return joint;
}

} // namespace drawgen
