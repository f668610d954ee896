// The home platform's 3D edge lines, two pixels deep: sunken around a text
// box, raised around a button, and the dotted focus mark inside a button;
// every pixel a unit x unit block at a zoom. One drawing for every window.
#pragma once

#include <QRgb>

class QPainter;
class QRect;

namespace pellmora {

namespace edges {

// The four system colours the edges are drawn in, lightest first.
constexpr QRgb kHighlight = 0xFFFFFF;
constexpr QRgb kLight = 0xD4D0C8;
constexpr QRgb kShadow = 0x808080;
constexpr QRgb kDarkShadow = 0x404040;

// Dark lines along the top and left edges of `rect`, light ones along the
// bottom and right: the field lies below its surroundings.
void DrawSunken(QPainter& painter, const QRect& rect, int unit = 1);

// Light lines along the top and left, dark ones along the bottom and right:
// the face stands out.
void DrawRaised(QPainter& painter, const QRect& rect, int unit = 1);

// Every other pixel of the outline of `rect`, in black, from its top-left
// corner on.
void DrawFocusMark(QPainter& painter, const QRect& rect, int unit = 1);

}  // namespace edges

}  // namespace pellmora
