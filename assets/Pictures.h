// The game's pictures: the background, the icon and the pictures of the game
// window's paddles, ball, items and buttons, the same pixels for every host.
//
// They are drawn once by the maintainer's tool (tools/bake-pictures, with Qt
// and the IPA fonts) into the PNG files in assets/, which the build puts into
// the binary; here they are only decoded. Plain C++, no toolkit, no files
// read. Nothing is cached: each call decodes its picture afresh, so a host
// calls these once at start-up and keeps what it needs.
#pragma once

#include "assets/Picture.h"

namespace pellmora::pictures {

// 8 x 8 tile of the window background: a diagonal ramp from full green at the
// top-left corner to pale green at the bottom-right corner. Opaque.
Picture BackgroundTile();

// 640 x 480 background of both windows: the tile repeated 80 x 60 times.
Picture Background();

// 32 x 32 game icon in 16 colours at most, transparent around a bevelled
// light-blue field with four paddles, a ball and a cross.
Picture Icon();

// 24 x 1 ramp of the left and right paddles, dark on the left. Opaque.
Picture PaddleUpright();

// 1 x 24 ramp of the top and bottom paddles, dark at the top. Opaque.
Picture PaddleFlat();

// 16 x 16 yellow disc on a transparent background.
Picture Ball();

// 100 x 50 opaque panel of item kind k = 0..5 (0 RESET, 1..3 SpeedUP, all
// three alike, 4 -LONG-, 5 |LONG|). A null picture for any other k.
Picture ItemPanel(int k);

// 196 x 36 opaque picture of menu button n = 0..2 (start, ranking table, end
// game). A null picture for any other n.
Picture ButtonPicture(int n);

}  // namespace pellmora::pictures
