#include "bench/XKeyProbe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <time.h>

#include <chrono>
#include <random>
#include <thread>

namespace pellmora {

namespace {

double MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void SleepMs(double ms) {
  std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(ms * 1000)));
}

// The top row of the left paddle as the X server shows it: the first pixel
// down its middle column that is bluer than green (the tiles are green, the
// paddle's ramp blue). -1 when none is seen.
int PaddleTopOnScreen(Display* display, Window window, int column, int height) {
  XImage* image = XGetImage(display, window, column, 0, 1, height, AllPlanes, ZPixmap);
  if (image == nullptr) return -1;
  int top = -1;
  for (int y = 0; y < height; ++y) {
    const unsigned long pixel = XGetPixel(image, 0, y);
    const unsigned long green = (pixel >> 8) & 0xFF;
    const unsigned long blue = pixel & 0xFF;
    if (blue > green) {
      top = y;
      break;
    }
  }
  XDestroyImage(image);
  return top;
}

}  // namespace

void PressAndWatch(const char* displayName, unsigned long window, int column, int height,
                   int presses, LatencyResults& results, std::atomic<bool>& done) {
  Display* display = XOpenDisplay(displayName);
  if (display == nullptr) {
    done = true;
    return;
  }
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XSync(display, False);
  SleepMs(300);
  const KeyCode up = XKeysymToKeycode(display, XK_Up);
  const KeyCode down = XKeysymToKeycode(display, XK_Down);
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> pause(30.0, 50.0);
  for (int i = 0; i < presses; ++i) {
    const int before = PaddleTopOnScreen(display, window, column, height);
    // Keeps the paddle in the middle of its run, so that every press moves it.
    const KeyCode key = before > 200 ? up : down;
    const double pressedAt = MonotonicMs();
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XFlush(display);
    double shownAt = 0;
    while (MonotonicMs() - pressedAt < 500) {
      const int now = PaddleTopOnScreen(display, window, column, height);
      if (now != before && now >= 0) {
        shownAt = MonotonicMs();
        break;
      }
      SleepMs(0.25);
    }
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XFlush(display);
    if (shownAt > 0) {
      results.latencies.push_back(shownAt - pressedAt);
    } else {
      ++results.missed;
    }
    // Let the release land and the paddle rest, then press at another phase
    // of the tick.
    SleepMs(pause(random));
  }
  XCloseDisplay(display);
  done = true;
}

}  // namespace pellmora
