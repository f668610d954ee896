// The game's three Japanese font names, mapped onto the IPA fonts of the same
// kind, and the QFont of each of the game's design fonts.
#pragma once

#include <QFont>

#include "host/Design.h"

namespace pellmora {

namespace fonts {

// Sends the design font names to the IPA families. Call once, after the
// application exists and before any window is built.
void InstallSubstitutes();

// The QFont of a design font: its family (through the substitutes), its em
// square in pixels (times `zoom`) and its weight.
QFont DesignFont(const design::FontSpec& wanted, int zoom = 1);

// `font` with its em square `zoom` times what it is.
QFont Zoomed(const QFont& font, int zoom);

}  // namespace fonts

}  // namespace pellmora
