#include "headless/SimGame.h"

namespace pellmora {

SimGame::SimGame(SimHost& host) : host_(host), window_(host) {
  host_.Attach(window_, *this);
}

void SimGame::Load() {
  if (!host_.Ended()) window_.Form_Load();
}

bool SimGame::Click(SimButton button) {
  if (host_.Ended()) return false;
  switch (button) {
    case SimButton::Command1:
      if (!window_.Command1.Visible) return false;
      window_.Command1_Click();
      return true;
    case SimButton::Command2:
      if (!window_.Command2.Visible) return false;
      window_.Command2_Click();
      return true;
    case SimButton::Command3:
      if (!window_.Command3.Visible) return false;
      window_.Command3_Click();
      return true;
    case SimButton::Form2Command1:
      if (host_.Form2() == nullptr) return false;
      Form2_Command1_Click(host_);
      return true;
  }
  return false;
}

void SimGame::KeyDown(int keyCode) {
  if (!host_.Ended()) window_.Form_KeyDown(keyCode);
}

void SimGame::TimerFired(int timerId) {
  switch (timerId) {
    case 1:
      window_.Timer1_Timer();
      break;
    case 2:
      window_.Timer2_Timer();
      break;
    case 3:
      window_.Timer3_Timer();
      break;
    case 4:
      window_.Timer4_Timer();
      break;
    default:
      break;
  }
}

}  // namespace pellmora
