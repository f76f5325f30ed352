#pragma once

// The page drawings and the program icon, compiled into vorlane_assets:
//   :/assets/bolt.bmp  :/assets/nut.bmp  :/assets/joint.bmp
//   :/assets/vorlane.ico  :/assets/vorlane.png (32 x 32)
//   :/assets/vorlane-64.png  :/assets/vorlane-128.png  :/assets/vorlane-256.png
//
// vorlane_assets is a static library, and a linker drops a static
// library's resource object unless something refers to it: call
// initAssets() once at start, before the first image is loaded. Calling it
// again is harmless.

namespace vorlane {

void initAssets();

} // namespace vorlane
