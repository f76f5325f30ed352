#include "assets.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function in the global namespace, so it must
// be called from outside any namespace.
static void initVorlaneAssetsResource()
{
    Q_INIT_RESOURCE(vorlane_assets);
}

namespace vorlane {

void initAssets()
{
    initVorlaneAssetsResource();
}

} // namespace vorlane
