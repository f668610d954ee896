// Another program on the X server, as far as the server can tell: a client
// connection of its own whose window takes the keyboard focus, as a window
// manager gives it when the player clicks another program.
#pragma once

namespace pellmora {

namespace playtest {

// Opens a window of a client of its own on $DISPLAY and gives it the input
// focus; false when there is no X server to do it on. The window goes when
// the object does.
class OtherXClient {
 public:
  OtherXClient();
  ~OtherXClient();
  OtherXClient(const OtherXClient&) = delete;
  OtherXClient& operator=(const OtherXClient&) = delete;

  bool TakeTheFocus();

 private:
  void* display_ = nullptr;
  unsigned long window_ = 0;
};

}  // namespace playtest

}  // namespace pellmora
