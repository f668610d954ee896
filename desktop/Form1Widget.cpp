#include "desktop/Form1Widget.h"

#include <QCloseEvent>
#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QRectF>

#include "assets/Pictures.h"
#include "desktop/Fonts.h"
#include "desktop/PushButton.h"
#include "desktop/QtPictures.h"
#include "host/Design.h"

namespace pellmora {

namespace {

QRectF RectOf(const ScreenObject& object) {
  return QRectF(object.Left, object.Top, object.Width, object.Height);
}

QStaticText PreparedText(const char* text, const QFont& font) {
  QStaticText prepared(QString::fromUtf8(text));
  prepared.setTextFormat(Qt::PlainText);
  prepared.setPerformanceHint(QStaticText::AggressiveCaching);
  prepared.prepare(QTransform(), font);
  return prepared;
}

}  // namespace

Form1Widget::Form1Widget(const Form1Controls& controls)
    : controls_(controls),
      background_(QtPixmap(pellmora::pictures::Background())),
      paddleUpright_(QtPixmap(pellmora::pictures::PaddleUpright())),
      paddleFlat_(QtPixmap(pellmora::pictures::PaddleFlat())),
      ball_(QtPixmap(pellmora::pictures::Ball())),
      labelFont_(fonts::DesignFont(design::kTitleFont)),
      title_(PreparedText(design::kGameName, labelFont_)),
      banner_(PreparedText(design::kPauseCaption, labelFont_)) {
  for (int k = 0; k < 6; ++k) itemPanels_[k] = QtPixmap(pellmora::pictures::ItemPanel(k));

  setFixedSize(design::kForm1ClientWidth, design::kForm1ClientHeight);
  setWindowIcon(QIcon(QtPixmap(pellmora::pictures::Icon())));
  setWindowTitle(QString::fromStdString(controls.Caption));
  // Every pixel is painted each time: the background picture covers the
  // client area.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  // The labels and images are painted, never widgets, so only the buttons
  // can take the focus.
  setFocusPolicy(Qt::NoFocus);

  const ScreenObject* places[3] = {&controls.Command1, &controls.Command2, &controls.Command3};
  for (int n = 0; n < 3; ++n) {
    // The dotted focus mark runs on the picture's face, inside its blue frame.
    auto* button = new PushButton(6, this);
    button->setIcon(QIcon(QtPixmap(pellmora::pictures::ButtonPicture(n))));
    button->setIconSize(QSize(196, 36));
    button->setAccessibleName(QString::fromUtf8(design::kButtonTexts[n]));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    button->setGeometry(qRound(places[n]->Left), qRound(places[n]->Top), qRound(places[n]->Width),
                        qRound(places[n]->Height));
    button->setVisible(places[n]->Visible);
    commands_[n] = button;
  }
  setTabOrder(commands_[0], commands_[1]);
  setTabOrder(commands_[1], commands_[2]);
}

void Form1Widget::SyncButtons() {
  const ScreenObject* places[3] = {&controls_.Command1, &controls_.Command2, &controls_.Command3};
  for (int n = 0; n < 3; ++n) {
    const ScreenObject& place = *places[n];
    const QRect rect(qRound(place.Left), qRound(place.Top), qRound(place.Width),
                     qRound(place.Height));
    if (commands_[n]->geometry() != rect) commands_[n]->setGeometry(rect);
    if (commands_[n]->isVisibleTo(this) != place.Visible) commands_[n]->setVisible(place.Visible);
  }
  // Qt may leave the keyboard focus on a button the game just hid; Space or
  // Return would then press a start or quit button nobody can see.
  if (QWidget* focus = focusWidget(); focus != nullptr && !focus->isVisibleTo(this)) {
    focus->clearFocus();
  }
}

void Form1Widget::DrawLabel(QPainter& painter, const ScreenObject& label, const QStaticText& text) {
  // Centred in the label's rectangle, lettering only: the field shows
  // through everywhere else.
  const QSizeF size = text.size();
  painter.drawStaticText(QPointF(label.Left + (label.Width - size.width()) / 2,
                                 label.Top + (label.Height - size.height()) / 2),
                         text);
}

void Form1Widget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Pixel pictures stay sharp when stretched or scaled for a dense screen.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

  painter.fillRect(rect(), QColor::fromRgb(design::kForm1BackColor));
  painter.drawPixmap(0, 0, background_);

  // Back to front: title, paddles, ball, banner, items.
  painter.setPen(Qt::black);
  painter.setFont(labelFont_);
  if (controls_.Label1.Visible) DrawLabel(painter, controls_.Label1, title_);

  // A paddle's ramp runs across its thickness whatever its length.
  if (controls_.Image1.Visible) {
    painter.drawPixmap(RectOf(controls_.Image1), paddleUpright_, paddleUpright_.rect());
  }
  if (controls_.Image2.Visible) {
    painter.drawPixmap(RectOf(controls_.Image2), paddleUpright_, paddleUpright_.rect());
  }
  if (controls_.Image3.Visible) {
    painter.drawPixmap(RectOf(controls_.Image3), paddleFlat_, paddleFlat_.rect());
  }
  if (controls_.Image4.Visible) {
    painter.drawPixmap(RectOf(controls_.Image4), paddleFlat_, paddleFlat_.rect());
  }
  if (controls_.Image5.Visible) {
    painter.drawPixmap(RectOf(controls_.Image5), ball_, ball_.rect());
  }

  // The banner is shown from the start but parked below the field; whatever
  // of it lies inside the window is drawn, the rest is clipped.
  if (controls_.Label2.Visible) DrawLabel(painter, controls_.Label2, banner_);

  for (int k = 0; k < 6; ++k) {
    const ScreenObject& item = controls_.Image6[k];
    if (item.Visible) painter.drawPixmap(QPointF(item.Left, item.Top), itemPanels_[k]);
  }
}

void Form1Widget::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closing();
}

}  // namespace pellmora
