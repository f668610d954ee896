// Concentric one-pixel frames, shared by the item panels and the buttons.
#pragma once

#include <QImage>
#include <span>

namespace pellmora::bake {

// Paints one one-pixel ring per colour, the first along the image's edge and
// each next one a pixel further in. Pixel exact, no smoothing.
void DrawBands(QImage& image, std::span<const QRgb> bands);

}  // namespace pellmora::bake
