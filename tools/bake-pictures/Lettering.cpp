#include "tools/bake-pictures/Lettering.h"

#include <QFont>
#include <QTransform>
#include <algorithm>

namespace pellmora::bake {

namespace {

QFont FontOf(Typeface typeface, qreal pixelSize) {
  QFont font;
  switch (typeface) {
    case Typeface::Gothic:
      font.setFamily(QStringLiteral("IPAGothic"));
      font.setStyleHint(QFont::SansSerif);
      break;
    case Typeface::ProportionalGothic:
      font.setFamily(QStringLiteral("IPAPGothic"));
      font.setStyleHint(QFont::SansSerif);
      break;
    case Typeface::Mincho:
      font.setFamily(QStringLiteral("IPAMincho"));
      font.setStyleHint(QFont::Serif);
      break;
  }
  // Whole pixels keep the lettering the same size wherever the game runs;
  // the weight comes from the outline stroke, since the IPA fonts have no
  // bold face of their own.
  font.setPixelSize(static_cast<int>(pixelSize));
  return font;
}

}  // namespace

QPainterPath TextOutline(const QString& text, Typeface typeface, qreal pixelSize) {
  QPainterPath path;
  path.addText(0, 0, FontOf(typeface, pixelSize), text);
  return path;
}

QPainterPath CentredIn(const QPainterPath& path, const QRectF& box) {
  return path.translated(box.center() - path.boundingRect().center());
}

QPainterPath FittedIn(const QPainterPath& path, const QRectF& box) {
  const QRectF bounds = path.boundingRect();
  if (bounds.isEmpty()) return path;
  const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
  return CentredIn(QTransform::fromScale(scale, scale).map(path), box);
}

}  // namespace pellmora::bake
