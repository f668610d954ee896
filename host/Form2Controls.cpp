#include "host/Design.h"
#include "host/Host.h"

namespace pellmora {

Form2Controls::Form2Controls() {
  for (int i = 0; i < 10; ++i) {
    const auto& row = design::kRankRows[i];
    Text1[i] =
        TextBox{{static_cast<float>(row.name.left), static_cast<float>(row.name.top),
                 static_cast<float>(row.name.width), static_cast<float>(row.name.height), true},
                {}};
    Text2[i] =
        TextBox{{static_cast<float>(row.score.left), static_cast<float>(row.score.top),
                 static_cast<float>(row.score.width), static_cast<float>(row.score.height), true},
                {}};
  }
}

}  // namespace pellmora
