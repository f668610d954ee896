#include "desktop/ClassicStyle.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include "desktop/ClassicEdges.h"
#include "desktop/PushButton.h"
#include "desktop/WidgetZoom.h"

namespace pellmora {

namespace {

// The edge takes two pixels on every side, at one pixel per pixel of the
// design.
constexpr int kEdge = 2;
// Where a plain button's focus mark runs, inside its edge.
constexpr int kFocusInset = 4;

// A button that shows a picture and no words: the picture at the offset the
// design gives, rounded down in design pixels, so that it lands on whole
// blocks at every zoom.
void DrawPicture(QPainter& painter, const QStyleOptionButton& button, int zoom) {
  const QSize room = button.rect.size() / zoom;
  const QSize picture = button.iconSize / zoom;
  const QPoint offset((room.width() - picture.width()) / 2 * zoom,
                      (room.height() - picture.height()) / 2 * zoom);
  painter.drawPixmap(button.rect.topLeft() + offset, button.icon.pixmap(button.iconSize));
}

}  // namespace

ClassicStyle::ClassicStyle() {
  setParent(QCoreApplication::instance());
}

ClassicStyle& ClassicStyle::Instance() {
  // Rebuilt only if the application that owned it has gone (tests).
  static QPointer<ClassicStyle> instance;
  if (instance.isNull()) instance = new ClassicStyle();
  return *instance;
}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  const int zoom = widgetzoom::Of(widget);
  switch (element) {
    case PE_PanelLineEdit: {
      painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
      const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
      if (frame != nullptr && frame->lineWidth > 0) {
        edges::DrawSunken(*painter, option->rect, zoom);
      }
      return;
    }
    case PE_FrameLineEdit:
      edges::DrawSunken(*painter, option->rect, zoom);
      return;
    case PE_FrameFocusRect:
      // The buttons draw their own dotted mark (CE_PushButton below).
      return;
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  const int zoom = widgetzoom::Of(widget);
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  if (element == CE_PushButtonBevel) {
    painter->fillRect(option->rect, option->palette.brush(QPalette::Button));
    // Pressed, the face sinks below the window.
    if (option->state & (State_Sunken | State_On)) {
      edges::DrawSunken(*painter, option->rect, zoom);
    } else {
      edges::DrawRaised(*painter, option->rect, zoom);
    }
    return;
  }
  if (element == CE_PushButton && button != nullptr) {
    if (button->text.isEmpty() && !button->icon.isNull()) {
      drawControl(CE_PushButtonBevel, option, painter, widget);
      DrawPicture(*painter, *button, zoom);
    } else {
      QProxyStyle::drawControl(element, option, painter, widget);
    }
    // The dotted mark over the face and its picture, never a theme's outline.
    if (option->state & State_HasFocus) {
      const auto* push = qobject_cast<const PushButton*>(widget);
      const int inset = kFocusInset * zoom;
      edges::DrawFocusMark(*painter,
                           push != nullptr ? push->FocusMarkRect()
                                           : option->rect.adjusted(inset, inset, -inset, -inset),
                           zoom);
    }
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
  if (metric == PM_DefaultFrameWidth) return kEdge * widgetzoom::Of(widget);
  return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect ClassicStyle::subElementRect(SubElement element, const QStyleOption* option,
                                   const QWidget* widget) const {
  if (element == SE_LineEditContents) {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    const int edge = frame != nullptr ? frame->lineWidth : 0;
    return option->rect.adjusted(edge, edge, -edge, -edge);
  }
  return QProxyStyle::subElementRect(element, option, widget);
}

}  // namespace pellmora
