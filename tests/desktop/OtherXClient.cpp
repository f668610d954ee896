// Another program on the X server, as far as the server can tell: a client
// connection of its own whose window takes the keyboard focus, as a window
// manager gives it when the player clicks another program.
#include <X11/Xlib.h>

#include <memory>

namespace pellmora {

namespace playtest {

// The window goes with the handle; no handle without an X server.
std::shared_ptr<void> FocusAnotherXClient() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  const ::Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0);
  XMapRaised(display, window);
  // Only a viewable window takes the focus; with no window manager the
  // server maps it at once.
  XSync(display, False);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XSync(display, False);
  return std::shared_ptr<void>(display,
                               [](void* open) { XCloseDisplay(static_cast<Display*>(open)); });
}

}  // namespace playtest

}  // namespace pellmora
