// Where the 640 x 480 field goes in the game window's client area: a whole
// number of screen pixels per game pixel, so that every game pixel stays a
// sharp square block, centred, with black bars around it when the area is
// larger (the whole screen).
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pellmora {

struct FieldPlacement {
  int factor = 1;  // screen pixels per game pixel, each way
  QPoint origin;   // the field's top-left in the area

  // A rectangle of game pixels as it lands in the area.
  QRect ToArea(const QRect& game) const {
    return QRect(origin.x() + game.x() * factor, origin.y() + game.y() * factor,
                 game.width() * factor, game.height() * factor);
  }
  QRect Field() const;
};

// The largest whole factor at which the field fits into `area`; 1 when even
// the field's own size does not fit.
int LargestFieldFactor(QSize area);

// The field at the largest whole factor that fits, centred in `area`.
FieldPlacement PlaceField(QSize area);

}  // namespace pellmora
