// A save that finds another copy of the game saving into the same folder
// waits here, in the event loop: the game window keeps drawing, and a note in
// front of it says what the game waits for and lets the player stop waiting.
#pragma once

#include "posix/PosixFileOps.h"

class QWidget;

namespace pellmora {

class SaveWaiter final : public PosixFileOps::LockWait {
 public:
  explicit SaveWaiter(QWidget& window) : window_(window) {}

  int Until(const std::function<bool()>& tryLock, std::chrono::milliseconds patience) override;

 private:
  QWidget& window_;
};

}  // namespace pellmora
