#include "desktop/Fonts.h"

#include <QFontInfo>
#include <QString>

namespace pellmora {

namespace fonts {

namespace {

struct Substitute {
  const char* designName;
  const char* ipaFamily;
};

// Fonts of the same kind that show Japanese: fixed gothic, proportional
// gothic, and Mincho for the serif.
constexpr Substitute kSubstitutes[] = {
    {design::kFixedGothic, "IPAGothic"},
    {design::kProportionalGothic, "IPAPGothic"},
    {design::kMincho, "IPAMincho"},
};

const char* IpaFamilyOf(const char* designName) {
  for (const auto& s : kSubstitutes) {
    if (QString::fromUtf8(s.designName) == QString::fromUtf8(designName)) return s.ipaFamily;
  }
  return nullptr;
}

}  // namespace

void InstallSubstitutes() {
  for (const auto& s : kSubstitutes) {
    QFont::insertSubstitution(QString::fromUtf8(s.designName), QString::fromUtf8(s.ipaFamily));
  }
}

QFont DesignFont(const design::FontSpec& wanted, int zoom) {
  QFont font(QString::fromUtf8(wanted.family));
  font.setPixelSize(wanted.pixelSize * zoom);
  font.setBold(wanted.bold);
  // Fontconfig may answer the design name with a font of its own choosing
  // (DejaVu on Debian) before the substitutes are asked; then name the IPA
  // family outright.
  const char* ipa = IpaFamilyOf(wanted.family);
  if (ipa != nullptr && QFontInfo(font).family() != QString::fromUtf8(ipa)) {
    font.setFamily(QString::fromUtf8(ipa));
  }
  return font;
}

QFont Zoomed(const QFont& font, int zoom) {
  QFont zoomed = font;
  zoomed.setPixelSize(QFontInfo(font).pixelSize() * zoom);
  return zoomed;
}

}  // namespace fonts

}  // namespace pellmora
