// The game window's size: the field at a whole zoom in a window, or the
// whole screen; and the keys that change it.
#pragma once

#include <Qt>

class QWidget;

namespace pellmora {

// What a key asks of the window's size.
enum class ZoomKey { None, ZoomIn, ZoomOut, ZoomReset, ToggleFullscreen };

// Ctrl+plus (Ctrl+= too, plus without Shift on many layouts), Ctrl+minus,
// Ctrl+0, F11 and Alt+Enter.
ZoomKey ZoomKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) noexcept;

class WindowZoom {
 public:
  explicit WindowZoom(QWidget& window) : window_(window) {}

  int Scale() const noexcept { return scale_; }
  bool Fullscreen() const noexcept { return fullscreen_; }

  // The largest zoom whose window, frame included, fits the available area
  // of the window's screen; at least 1.
  int MaxScale() const;

  // The zoom the window takes when it is not on the whole screen, kept
  // within 1..MaxScale(). A shown window changes size at once, around its
  // centre and within the screen.
  void SetScale(int scale);
  void SetFullscreen(bool on);

  // Shows the window the first time: centred at its zoom, or on the whole
  // screen.
  void Show();

 private:
  void ShowFullScreen();
  void FitWindow(bool centreOnScreen);

  QWidget& window_;
  int scale_ = 1;
  bool fullscreen_ = false;
};

}  // namespace pellmora
