#include "play/Autopilot.h"

namespace pellmora {

bool AutopilotHolds(const Form1Controls& window, int virtualKey) {
  const ScreenObject& ball = window.Image5;
  switch (virtualKey) {
    case vbKeyUp:
    case vbKeyDown: {
      const double b = static_cast<double>(ball.Top) + static_cast<double>(ball.Height) / 2;
      const double c =
          static_cast<double>(window.Image1.Top) + static_cast<double>(window.Image1.Height) / 2;
      return virtualKey == vbKeyDown ? c < b - 2 : c > b + 2;
    }
    case vbKeyLeft:
    case vbKeyRight: {
      const double b = static_cast<double>(ball.Left) + static_cast<double>(ball.Width) / 2;
      const double c =
          static_cast<double>(window.Image3.Left) + static_cast<double>(window.Image3.Width) / 2;
      return virtualKey == vbKeyRight ? c < b - 2 : c > b + 2;
    }
    default:
      return false;
  }
}

}  // namespace pellmora
