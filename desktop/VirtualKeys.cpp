#include "desktop/VirtualKeys.h"

#include <Qt>

#include "host/Host.h"

namespace pellmora {

namespace virtualkeys {

int VirtualKeyOf(int qtKey) noexcept {
  switch (qtKey) {
    case Qt::Key_Left:
      return vbKeyLeft;
    case Qt::Key_Up:
      return vbKeyUp;
    case Qt::Key_Right:
      return vbKeyRight;
    case Qt::Key_Down:
      return vbKeyDown;
    case Qt::Key_Escape:
      return vbKeyEscape;
    default:
      return 0;
  }
}

}  // namespace virtualkeys

}  // namespace pellmora
