#include "desktop/Gamepad.h"

#include <SDL2/SDL.h>

#include "host/Host.h"

namespace pellmora {

namespace {

// Read often enough for a 10 ms game tick while a pad is plugged in; while
// none is, only look for one now and then.
constexpr int kPadInterval = 8;
constexpr int kSearchInterval = 500;

}  // namespace

Gamepad::Gamepad() {
  // Qt keeps Ctrl+C; SDL only reads the pads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!started_) return;
  timer_.setInterval(kSearchInterval);
  connect(&timer_, &QTimer::timeout, this, &Gamepad::Poll);
  timer_.start();
}

Gamepad::~Gamepad() {
  timer_.stop();
  if (!started_) return;
  for (SDL_GameController*& pad : pads_) {
    if (pad != nullptr) SDL_GameControllerClose(pad);
    pad = nullptr;
  }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int Gamepad::PadCount() const noexcept {
  int count = 0;
  for (const SDL_GameController* pad : pads_) count += pad != nullptr ? 1 : 0;
  return count;
}

bool Gamepad::Held(int virtualKey) const noexcept {
  if (virtualKey < vbKeyLeft || virtualKey > vbKeyDown) return false;
  return held_[virtualKey - vbKeyLeft];
}

void Gamepad::Open(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  for (SDL_GameController* pad : pads_) {
    if (pad != nullptr && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id) return;
  }
  for (SDL_GameController*& pad : pads_) {
    if (pad == nullptr) {
      pad = SDL_GameControllerOpen(deviceIndex);
      return;
    }
  }
}

void Gamepad::Close(int instanceId) {
  for (SDL_GameController*& pad : pads_) {
    if (pad != nullptr &&
        SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == instanceId) {
      SDL_GameControllerClose(pad);
      pad = nullptr;
    }
  }
}

void Gamepad::Poll() {
  if (!started_) return;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which);  // a device index
        break;
      case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which);  // an instance id
        break;
      case SDL_CONTROLLERBUTTONDOWN:
        switch (event.cbutton.button) {
          case SDL_CONTROLLER_BUTTON_START:
          case SDL_CONTROLLER_BUTTON_BACK:
            emit EscapePressed();
            break;
          case SDL_CONTROLLER_BUTTON_A:
            emit ConfirmPressed();
            break;
          default:
            break;
        }
        break;
      default:
        break;
    }
  }

  // Every pad at once, D-pad or stick: left, up, right, down.
  bool held[4] = {};
  for (SDL_GameController* pad : pads_) {
    if (pad == nullptr) continue;
    const int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    held[0] |= SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0 ||
               x < -kStickDeadZone;
    held[1] |=
        SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP) != 0 || y < -kStickDeadZone;
    held[2] |= SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0 ||
               x > kStickDeadZone;
    held[3] |= SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN) != 0 ||
               y > kStickDeadZone;
  }
  for (int d = 0; d < 4; ++d) {
    const bool pressed = held[d] && !held_[d];
    held_[d] = held[d];
    if (pressed) emit DirectionPressed(vbKeyLeft + d);
  }

  const int interval = PadCount() > 0 ? kPadInterval : kSearchInterval;
  if (timer_.interval() != interval) timer_.setInterval(interval);
}

}  // namespace pellmora
