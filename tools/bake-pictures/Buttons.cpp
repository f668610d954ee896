// The menu buttons' pictures: bold black text on a peach face in a frame
// that fades from blue into the face.
#include <QPainter>
#include <QPen>
#include <array>

#include "host/Design.h"
#include "tools/bake-pictures/Bands.h"
#include "tools/bake-pictures/DrawnPictures.h"
#include "tools/bake-pictures/Lettering.h"

namespace pellmora::bake {

namespace {

constexpr int kButtonWidth = 196;
constexpr int kButtonHeight = 36;
constexpr qreal kTextSize = 22;  // all three buttons alike, whatever their text's length

constexpr QRgb kFace = 0xFFFCE2D4;
constexpr QRgb kLetterFill = 0xFF000000;

// Four steps from blue towards the face colour; the face itself is the fifth.
constexpr std::array<QRgb, 4> kFrame = {0xFF347EFC, 0xFF6697F2, 0xFF98B0E8, 0xFFCAC9DE};

}  // namespace

QImage ButtonPicture(int n) {
  if (n < 0 || n > 2) return {};
  QImage picture(kButtonWidth, kButtonHeight, QImage::Format_RGB32);
  picture.fill(kFace);
  DrawBands(picture, kFrame);

  const QPainterPath lettering =
      CentredIn(TextOutline(QString::fromUtf8(pellmora::design::kButtonTexts[n]), Typeface::Gothic,
                            kTextSize),
                QRectF(picture.rect()));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.strokePath(lettering,
                     QPen(QColor(kLetterFill), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.fillPath(lettering, QColor(kLetterFill));
  painter.end();
  return picture;
}

}  // namespace pellmora::bake
