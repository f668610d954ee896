// Outlines of the lettering on the item panels and buttons.
#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace pellmora::bake {

enum class Typeface { Gothic, ProportionalGothic, Mincho };

// The outline of `text` at an em size of `pixelSize`, baseline at y = 0.
// Needs a QGuiApplication for the fonts.
QPainterPath TextOutline(const QString& text, Typeface typeface, qreal pixelSize);

// `path` moved so that its bounds are centred on `box`.
QPainterPath CentredIn(const QPainterPath& path, const QRectF& box);

// `path` scaled, keeping its proportions, to fill `box` as far as it can, and
// centred on it.
QPainterPath FittedIn(const QPainterPath& path, const QRectF& box);

}  // namespace pellmora::bake
