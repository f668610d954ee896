#include "desktop/ClassicEdges.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace pellmora {

namespace edges {

namespace {

// One ring of a 3D edge, `inset` pixels inside `rect`: the upper-left lines
// stop one pixel short of the far corners, which belong to the lower-right
// lines.
void DrawRing(QPainter& painter, const QRect& rect, int inset, QRgb upperLeft, QRgb lowerRight) {
  const QRect r = rect.adjusted(inset, inset, -inset, -inset);
  if (r.width() < 2 || r.height() < 2) return;
  painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), QColor::fromRgb(upperLeft));
  painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), QColor::fromRgb(upperLeft));
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor::fromRgb(lowerRight));
  painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), QColor::fromRgb(lowerRight));
}

}  // namespace

void DrawSunken(QPainter& painter, const QRect& rect) {
  DrawRing(painter, rect, 0, kShadow, kHighlight);
  DrawRing(painter, rect, 1, kDarkShadow, kLight);
}

void DrawRaised(QPainter& painter, const QRect& rect) {
  DrawRing(painter, rect, 0, kHighlight, kDarkShadow);
  DrawRing(painter, rect, 1, kLight, kShadow);
}

void DrawFocusMark(QPainter& painter, const QRect& rect) {
  if (rect.width() < 1 || rect.height() < 1) return;
  const QColor black = Qt::black;
  for (int x = rect.left(); x <= rect.right(); x += 2) {
    painter.fillRect(QRect(x, rect.top(), 1, 1), black);
    painter.fillRect(QRect(x, rect.bottom(), 1, 1), black);
  }
  for (int y = rect.top(); y <= rect.bottom(); y += 2) {
    painter.fillRect(QRect(rect.left(), y, 1, 1), black);
    painter.fillRect(QRect(rect.right(), y, 1, 1), black);
  }
}

}  // namespace edges

}  // namespace pellmora
