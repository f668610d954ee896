// The game's text boxes and buttons drawn as on the home platform, over
// whatever style the desktop gives: text boxes with square corners and a
// sunken two-pixel edge around their field, buttons with a raised edge around
// a face of their palette's Button colour and a dotted mark while they hold
// the focus; every edge as thick as the window's zoom (WidgetZoom).
#pragma once

#include <QProxyStyle>

namespace pellmora {

class ClassicStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  // The one instance, owned by the application; made on first use.
  static ClassicStyle& Instance();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option,
                       const QWidget* widget = nullptr) const override;

 private:
  ClassicStyle();
};

}  // namespace pellmora
