// The six item panels: a grey face in a coloured, banded frame, with bold
// outlined lettering saying what the item does.
#include <QPainter>
#include <QPen>
#include <array>

#include "tools/bake-pictures/Bands.h"
#include "tools/bake-pictures/DrawnPictures.h"
#include "tools/bake-pictures/Lettering.h"

namespace pellmora::bake {

namespace {

constexpr int kPanelWidth = 100;
constexpr int kPanelHeight = 50;
constexpr int kFrameWidth = 7;     // six coloured bands and a white line
constexpr qreal kTextMargin = 4;   // keeps the outer outline off the white line
constexpr qreal kSourceSize = 48;  // em size the lettering is built at, then fitted

constexpr QRgb kFace = 0xFFC6C3C6;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kLetterFill = 0xFF000000;
constexpr QRgb kInnerOutline = 0xFF808080;  // grey
constexpr QRgb kOuterOutline = 0xFFE6E0FF;  // pale lavender

using Frame = std::array<QRgb, kFrameWidth>;

// RESET: dark olive through greens to pale green.
constexpr Frame kGreenFrame = {0xFF313000, 0xFF316500, 0xFF319A31, 0xFF63CF63,
                               0xFF9CFF9C, 0xFFCEFFCE, kWhite};
// SpeedUP: red to pale pink.
constexpr Frame kRedFrame = {0xFFFF797B, 0xFFFF8F91, 0xFFFFA5A6, 0xFFFFBBBC,
                             0xFFFFD1D1, 0xFFFFE7E7, kWhite};
// The two LONG items: blue through cyan to a pale cyan.
constexpr Frame kBlueFrame = {0xFF3165FF, 0xFF3198FF, 0xFF31CBFF, 0xFF31FFFF,
                              0xFF7FFFFF, 0xFFCEFFFF, kWhite};

// LONG with a thin upright bar on either side, taller than the capitals so
// that the bars do not read as letters.
QPainterPath LongBetweenBars() {
  QPainterPath path =
      TextOutline(QStringLiteral("LONG"), Typeface::ProportionalGothic, kSourceSize);
  const QRectF letters = path.boundingRect();
  const qreal barWidth = letters.height() * 0.12;
  const qreal gap = letters.height() * 0.45;
  const qreal overhang = letters.height() * 0.2;
  const qreal barTop = letters.top() - overhang;
  const qreal barHeight = letters.height() + 2 * overhang;
  path.addRect(letters.left() - gap - barWidth, barTop, barWidth, barHeight);
  path.addRect(letters.right() + gap, barTop, barWidth, barHeight);
  return path;
}

QPainterPath LetteringOf(int k) {
  switch (k) {
    case 0:
      return TextOutline(QStringLiteral("RESET"), Typeface::ProportionalGothic, kSourceSize);
    case 4:
      return TextOutline(QStringLiteral("-LONG-"), Typeface::ProportionalGothic, kSourceSize);
    case 5:
      return LongBetweenBars();
    default:  // 1, 2 and 3 all speed the ball up and look alike
      return TextOutline(QStringLiteral("SpeedUP"), Typeface::Mincho, kSourceSize);
  }
}

const Frame& FrameOf(int k) {
  if (k == 0) return kGreenFrame;
  if (k >= 4) return kBlueFrame;
  return kRedFrame;
}

}  // namespace

QImage ItemPanel(int k) {
  if (k < 0 || k > 5) return {};
  QImage panel(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
  panel.fill(kFace);
  DrawBands(panel, FrameOf(k));

  const QRectF face(kFrameWidth, kFrameWidth, kPanelWidth - 2 * kFrameWidth,
                    kPanelHeight - 2 * kFrameWidth);
  const QPainterPath lettering =
      FittedIn(LetteringOf(k), face.adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin));

  QPainter painter(&panel);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipRect(face);
  painter.strokePath(lettering,
                     QPen(QColor(kOuterOutline), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.strokePath(lettering,
                     QPen(QColor(kInnerOutline), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.strokePath(lettering,
                     QPen(QColor(kLetterFill), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.fillPath(lettering, QColor(kLetterFill));
  painter.end();
  return panel;
}

}  // namespace pellmora::bake
