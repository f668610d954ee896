#include "headless/SimGame.h"

namespace pellmora {

SimGame::SimGame(SimHost& host)
    : host_(host), session_(host, nullptr, PlaySession::Seeding::Fixed, host.Seed()) {
  host_.session_ = &session_;
}

bool SimGame::Click(SimButton button) {
  switch (button) {
    case SimButton::Command1:
      return session_.Click(MenuButton::Command1);
    case SimButton::Command2:
      return session_.Click(MenuButton::Command2);
    case SimButton::Command3:
      return session_.Click(MenuButton::Command3);
    case SimButton::Form2Command1:
      return session_.ClickForm2Close();
  }
  return false;
}

}  // namespace pellmora
