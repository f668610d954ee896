#include "desktop/DisplayProbe.h"

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace pellmora {

namespace displayprobe {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool XAnswers() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool ok = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return ok;
}

// The library's own complaints would make more than the one line.
void IgnoreWaylandLog(const char*, va_list) {}

bool WaylandAnswers() {
  wl_log_set_handler_client(IgnoreWaylandLog);
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return false;
  wl_display_disconnect(display);
  return true;
}

// The platforms Qt tries, in its order: QT_QPA_PLATFORM's list ("wayland;xcb",
// each with ":options"), or Wayland in a Wayland session and X.
std::vector<std::string> Platforms() {
  std::vector<std::string> names;
  const std::string chosen = Variable("QT_QPA_PLATFORM");
  if (chosen.empty()) {
    if (Variable("XDG_SESSION_TYPE") == "wayland") names.emplace_back("wayland");
    names.emplace_back("xcb");
    return names;
  }
  std::string_view rest = chosen;
  while (!rest.empty()) {
    const std::string_view entry = rest.substr(0, rest.find(';'));
    names.emplace_back(entry.substr(0, entry.find(':')));
    rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
  }
  return names;
}

}  // namespace

std::string Problem() {
  for (const std::string& platform : Platforms()) {
    // Platforms without a display server (offscreen, vnc, eglfs...) are Qt's.
    if (platform.starts_with("wayland") ? WaylandAnswers()
        : platform == "xcb"             ? XAnswers()
                                        : true) {
      return {};
    }
  }
  const std::string display = Variable("DISPLAY");
  const std::string wayland = Variable("WAYLAND_DISPLAY");
  return "pellmora: no display answers (DISPLAY=" + (display.empty() ? "unset" : display) +
         ", WAYLAND_DISPLAY=" + (wayland.empty() ? "unset" : wayland) +
         "): start the game from a desktop session, or point DISPLAY or WAYLAND_DISPLAY at a "
         "running one\n";
}

}  // namespace displayprobe

}  // namespace pellmora
