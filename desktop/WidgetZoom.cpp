#include "desktop/WidgetZoom.h"

#include <QVariant>
#include <QWidget>

namespace pellmora {

namespace widgetzoom {

namespace {

constexpr const char* kProperty = "pellmoraZoom";

}  // namespace

void Set(QWidget& window, int zoom) {
  window.setProperty(kProperty, zoom);
}

int Of(const QWidget* widget) {
  if (widget == nullptr) return 1;
  const int zoom = widget->window()->property(kProperty).toInt();
  return zoom > 0 ? zoom : 1;
}

}  // namespace widgetzoom

}  // namespace pellmora
