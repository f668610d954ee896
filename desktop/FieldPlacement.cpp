#include "desktop/FieldPlacement.h"

#include <algorithm>

#include "host/Design.h"

namespace pellmora {

QRect FieldPlacement::Field() const {
  return ToArea(QRect(0, 0, design::kForm1ClientWidth, design::kForm1ClientHeight));
}

int LargestFieldFactor(QSize area) {
  const int across = area.width() / design::kForm1ClientWidth;
  const int down = area.height() / design::kForm1ClientHeight;
  return std::max(1, std::min(across, down));
}

FieldPlacement PlaceField(QSize area) {
  FieldPlacement placement;
  placement.factor = LargestFieldFactor(area);
  // An area smaller than the field (never at the game's own sizes) keeps the
  // field's top-left in view rather than centring it off the edges.
  placement.origin =
      QPoint(std::max(0, (area.width() - design::kForm1ClientWidth * placement.factor) / 2),
             std::max(0, (area.height() - design::kForm1ClientHeight * placement.factor) / 2));
  return placement;
}

}  // namespace pellmora
