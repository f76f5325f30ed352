#pragma once

#include "labels.h"

#include <QImage>

namespace drawgen {

// The drawing as its page shows it: cut to the drawing box, with every
// box and caption laid over it and outlined in red, enlarged `scale` times.
// Needs a QGuiApplication (it writes text).
QImage labelOverlay(const QImage &drawing, Drawing which, int scale, bool withText);

} // namespace drawgen
