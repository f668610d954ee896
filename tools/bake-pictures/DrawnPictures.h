// The game's pictures as the maintainer draws them with Qt, before they are
// baked into the PNG files in assets/: the background tile, the icon and the
// pictures of the game window's paddles, ball, items and buttons.
//
// The geometric pictures (tile, icon, paddles, ball) are set pixel by pixel.
// The item panels and buttons carry lettering drawn with the IPA fonts, so
// they need a QGuiApplication (or QApplication) to exist before they are
// called. Each call draws its picture afresh.
#pragma once

#include <QImage>

namespace pellmora::bake {

// 8 x 8 tile of the window background: a diagonal ramp from full green at the
// top-left corner to pale green at the bottom-right corner.
QImage BackgroundTile();

// 32 x 32 game icon in 16 colours at most, transparent around a bevelled
// light-blue field with four paddles, a ball and a cross.
QImage Icon();

// 24 x 1 ramp of the left and right paddles, dark on the left.
QImage PaddleUpright();

// 1 x 24 ramp of the top and bottom paddles, dark at the top.
QImage PaddleFlat();

// 16 x 16 yellow disc on a transparent background.
QImage Ball();

// 100 x 50 opaque panel of item kind k = 0..5 (0 RESET, 1..3 SpeedUP, all
// three alike, 4 -LONG-, 5 |LONG|). Needs a QGuiApplication. A null image for
// any other k.
QImage ItemPanel(int k);

// 196 x 36 picture of menu button n = 0..2 (start, ranking table, end game).
// Needs a QGuiApplication. A null image for any other n.
QImage ButtonPicture(int n);

}  // namespace pellmora::bake
