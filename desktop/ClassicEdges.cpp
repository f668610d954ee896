#include "desktop/ClassicEdges.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace pellmora {

namespace edges {

namespace {

// One ring of a 3D edge, `unit` pixels thick and `inset` rings inside
// `rect`: the upper-left lines stop one unit short of the far corners, which
// belong to the lower-right lines.
void DrawRing(QPainter& painter, const QRect& rect, int inset, int unit, QRgb upperLeft,
              QRgb lowerRight) {
  const int in = inset * unit;
  const QRect r = rect.adjusted(in, in, -in, -in);
  if (r.width() < 2 * unit || r.height() < 2 * unit) return;
  painter.fillRect(QRect(r.left(), r.top(), r.width() - unit, unit), QColor::fromRgb(upperLeft));
  painter.fillRect(QRect(r.left(), r.top(), unit, r.height() - unit), QColor::fromRgb(upperLeft));
  painter.fillRect(QRect(r.left(), r.bottom() + 1 - unit, r.width(), unit),
                   QColor::fromRgb(lowerRight));
  painter.fillRect(QRect(r.right() + 1 - unit, r.top(), unit, r.height()),
                   QColor::fromRgb(lowerRight));
}

}  // namespace

void DrawSunken(QPainter& painter, const QRect& rect, int unit) {
  DrawRing(painter, rect, 0, unit, kShadow, kHighlight);
  DrawRing(painter, rect, 1, unit, kDarkShadow, kLight);
}

void DrawRaised(QPainter& painter, const QRect& rect, int unit) {
  DrawRing(painter, rect, 0, unit, kHighlight, kDarkShadow);
  DrawRing(painter, rect, 1, unit, kLight, kShadow);
}

void DrawFocusMark(QPainter& painter, const QRect& rect, int unit) {
  if (rect.width() < unit || rect.height() < unit) return;
  const QColor black = Qt::black;
  const int right = rect.right() + 1 - unit;
  const int bottom = rect.bottom() + 1 - unit;
  for (int x = rect.left(); x <= right; x += 2 * unit) {
    painter.fillRect(QRect(x, rect.top(), unit, unit), black);
    painter.fillRect(QRect(x, bottom, unit, unit), black);
  }
  for (int y = rect.top(); y <= bottom; y += 2 * unit) {
    painter.fillRect(QRect(rect.left(), y, unit, unit), black);
    painter.fillRect(QRect(right, y, unit, unit), black);
  }
}

}  // namespace edges

}  // namespace pellmora
