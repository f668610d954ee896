#include "web/PageCanvas.h"

#include <string>

#include "host/Design.h"
#include "web/Page.h"
#include "web/WebFonts.h"

namespace pellmora {

void PageCanvas::DrawPicture(PictureId picture, const Rect& where) {
  page::DrawPicture(static_cast<int>(picture), where.left, where.top, where.width, where.height);
}

void PageCanvas::DrawLabel(LabelId label, const Rect& where) {
  page::DrawLabel(static_cast<int>(label), where.left, where.top, where.width, where.height);
}

void PageCanvas::DrawButton(int n, const Rect& where, bool pressed) {
  page::DrawButton(n, where.left, where.top, where.width, where.height, pressed);
}

}  // namespace pellmora

namespace pellmora {

namespace {

std::string CssFont(const design::FontSpec& font) {
  return std::string(font.bold ? "bold " : "") + std::to_string(font.pixelSize) + "px " +
         CssFontFamily(font.family);
}

}  // namespace

void DefineLabels() {
  page::DefineLabel(static_cast<int>(LabelId::Title), design::kGameName,
                    CssFont(design::kTitleFont));
  page::DefineLabel(static_cast<int>(LabelId::Banner), design::kPauseCaption,
                    CssFont(design::kTitleFont));
  for (int n = 0; n < 3; ++n) page::NameMenuButton(n, design::kButtonTexts[n]);
}

}  // namespace pellmora
