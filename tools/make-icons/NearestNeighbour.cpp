#include "tools/make-icons/NearestNeighbour.h"

namespace pellmora {

namespace {

// The source pixel under the centre of new pixel i of n, of an edge of m.
int SourceIndex(int i, int n, int m) {
  return static_cast<int>((2LL * i + 1) * m / (2LL * n));
}

}  // namespace

QImage NearestNeighbour(const QImage& image, int size) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  QImage result(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    const int sy = SourceIndex(y, size, source.height());
    for (int x = 0; x < size; ++x) {
      result.setPixel(x, y, source.pixel(SourceIndex(x, size, source.width()), sy));
    }
  }
  return result;
}

}  // namespace pellmora
