// The game window's objects and timers, as the game logic sees them.
// Built with the design values (Form1Controls.cpp) when the window loads.
#pragma once

#include <string>

#include "host/Host.h"

namespace pellmora {

struct Form1Controls {
  Form1Controls();  // design values
  Form1Controls(const Form1Controls&) = delete;
  Form1Controls& operator=(const Form1Controls&) = delete;

  std::string Caption;  // title-bar text

  ScreenObject Label1;     // title "Pellmora"
  ScreenObject Label2;     // pause banner "P A U S E"
  ScreenObject Command1;   // start
  ScreenObject Command2;   // ranking table
  ScreenObject Command3;   // quit
  ScreenObject Image1;     // left paddle
  ScreenObject Image2;     // right paddle
  ScreenObject Image3;     // top paddle
  ScreenObject Image4;     // bottom paddle
  ScreenObject Image5;     // ball
  ScreenObject Image6[6];  // item panels

  Timer Timer1;  // title animation, 15 ms
  Timer Timer2;  // game tick, 10 ms
  Timer Timer3;  // pause banner slide, 15 ms
  Timer Timer4;  // item spawning, 10 s
};

}  // namespace pellmora
