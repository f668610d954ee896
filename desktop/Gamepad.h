// Game pads through SDL's game-controller API, input only: the D-pad and the
// left stick are the arrow keys, Start and Back are Esc, A (cross) presses
// the focused button. Pads plugged in or out while the game runs are picked
// up; without a pad, or where SDL cannot start, nothing changes.
#pragma once

#include <QObject>
#include <QTimer>

#include "play/KeyState.h"

struct _SDL_GameController;

namespace pellmora {

class Gamepad final : public QObject, public HeldKeySource {
  Q_OBJECT

 public:
  Gamepad();
  ~Gamepad() override;
  Gamepad(const Gamepad&) = delete;
  Gamepad& operator=(const Gamepad&) = delete;

  // False where SDL's game-controller input could not start.
  bool Started() const noexcept { return started_; }
  int PadCount() const noexcept;
  // True while a pad holds the arrow (vbKeyLeft..vbKeyDown) down.
  bool Held(int virtualKey) const noexcept override;
  // How often the pads are read now: often while one is plugged in, seldom
  // (only to notice one) while none is.
  int PollInterval() const noexcept { return timer_.interval(); }

  // Reads what the pads did since the last call; the timer calls it.
  void Poll();

  // Beyond this the left stick counts as held (of 32767).
  static constexpr int kStickDeadZone = 10000;

 signals:
  void EscapePressed();
  void ConfirmPressed();
  // An arrow newly held, for moving between buttons outside play.
  void DirectionPressed(int virtualKey);

 private:
  static constexpr int kMaxPads = 8;

  void Open(int deviceIndex);
  void Close(int instanceId);

  _SDL_GameController* pads_[kMaxPads] = {};
  bool held_[4] = {};  // left, up, right, down
  bool started_ = false;
  QTimer timer_;
};

}  // namespace pellmora
