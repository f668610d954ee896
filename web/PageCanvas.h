// The page's canvas as the painter's Canvas, and the pictures it draws,
// handed to the page once at start-up.
#pragma once

#include "play/Canvas.h"

namespace pellmora {

class PageCanvas final : public Canvas {
 public:
  void DrawPicture(PictureId picture, const Rect& where) override;
  void DrawLabel(LabelId label, const Rect& where) override;
  void DrawButton(int n, const Rect& where, bool pressed) override;
};

// Every PictureId's picture, decoded from the game's assets, to the page.
void UploadPictures();
// The title's and the banner's texts and font, and the menu buttons' names,
// from the design values.
void DefineLabels();

}  // namespace pellmora
