// The game's plain pictures as Qt's images, pixel for pixel.
#pragma once

#include <QImage>
#include <QPixmap>

#include "assets/Picture.h"

namespace pellmora {

// `picture` as a QImage of the same pixels: Format_RGB32 when it is opaque,
// Format_ARGB32 when any pixel lets the background through. A null image for
// a null picture.
QImage QtImage(const Picture& picture);

// The same as a pixmap, ready to be drawn.
QPixmap QtPixmap(const Picture& picture);

}  // namespace pellmora
