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
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    default:
      break;
  }
  // Letters and digits share their codes with the characters.
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 65 + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 48 + (qtKey - Qt::Key_0);
  return 0;
}

}  // namespace virtualkeys

}  // namespace pellmora
