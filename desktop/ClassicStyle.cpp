#include "desktop/ClassicStyle.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include "desktop/ClassicEdges.h"

namespace pellmora {

namespace {

// The edge takes two pixels on every side.
constexpr int kEdge = 2;

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
  switch (element) {
    case PE_PanelLineEdit: {
      painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
      const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
      if (frame != nullptr && frame->lineWidth > 0) edges::DrawSunken(*painter, option->rect);
      return;
    }
    case PE_FrameLineEdit:
      edges::DrawSunken(*painter, option->rect);
      return;
    case PE_FrameFocusRect:
      // The buttons draw their own dotted mark (PushButton).
      return;
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  if (element == CE_PushButtonBevel) {
    painter->fillRect(option->rect, option->palette.brush(QPalette::Button));
    // Pressed, the face sinks below the window.
    if (option->state & (State_Sunken | State_On)) {
      edges::DrawSunken(*painter, option->rect);
    } else {
      edges::DrawRaised(*painter, option->rect);
    }
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
  if (metric == PM_DefaultFrameWidth) return kEdge;
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
