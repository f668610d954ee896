// Resizing pixel art without blurring it.
#pragma once

#include <QImage>

namespace pellmora {

// image resized to size x size, each new pixel taking the colour of the old
// pixel under its centre: whole-number enlargements repeat every pixel as a
// block, a reduction to half keeps one pixel of each 2 x 2 block.
QImage NearestNeighbour(const QImage& image, int size);

}  // namespace pellmora
