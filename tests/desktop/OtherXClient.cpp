#include "OtherXClient.h"

#include <X11/Xlib.h>

namespace pellmora {

namespace playtest {

OtherXClient::OtherXClient() : display_(XOpenDisplay(nullptr)) {}

OtherXClient::~OtherXClient() {
  auto* display = static_cast<Display*>(display_);
  if (display == nullptr) return;
  if (window_ != 0) XDestroyWindow(display, window_);
  XCloseDisplay(display);
}

bool OtherXClient::TakeTheFocus() {
  auto* display = static_cast<Display*>(display_);
  if (display == nullptr) return false;
  if (window_ == 0) {
    window_ = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0);
    XMapRaised(display, window_);
    // Without a window manager the window is viewable once the server has
    // mapped it, and only a viewable window can take the focus.
    XSync(display, False);
  }
  XSetInputFocus(display, window_, RevertToParent, CurrentTime);
  XSync(display, False);
  return true;
}

}  // namespace playtest

}  // namespace pellmora
