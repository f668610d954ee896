// The zoom a window of the game is drawn at, kept on the window itself, so
// that the style drawing any of its parts draws its edges as thick.
#pragma once

class QWidget;

namespace pellmora {

namespace widgetzoom {

void Set(QWidget& window, int zoom);

// The zoom of the window `widget` lies in; 1 when none was set.
int Of(const QWidget* widget);

}  // namespace widgetzoom

}  // namespace pellmora
