#include "web/WebFonts.h"

#include <cstring>

#include "host/Design.h"

namespace pellmora {

std::string CssFontFamily(const char* designFamily) {
  // The page's own subsets first (fixed texts only), then the unmodified IPA
  // fonts it ships, then whatever the system has of the kind.
  if (std::strcmp(designFamily, design::kFixedGothic) == 0) {
    return "PellmoraGothicSubset, IPAGothic, monospace";
  }
  if (std::strcmp(designFamily, design::kProportionalGothic) == 0) {
    return "PellmoraPGothicSubset, IPAPGothic, sans-serif";
  }
  if (std::strcmp(designFamily, design::kMincho) == 0) return "IPAMincho, serif";
  return "sans-serif";
}

}  // namespace pellmora
