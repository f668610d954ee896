#include "desktop/Form1Widget.h"

#include <QCloseEvent>
#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QRectF>
#include <QRegion>
#include <QResizeEvent>

#include "assets/Pictures.h"
#include "desktop/ClassicEdges.h"
#include "desktop/ClassicStyle.h"
#include "desktop/Fonts.h"
#include "desktop/PushButton.h"
#include "desktop/QtPictures.h"
#include "desktop/WidgetZoom.h"
#include "host/Design.h"
#include "play/Form1Painter.h"

namespace pellmora {

namespace {

QRectF RectOf(const Rect& place) {
  return QRectF(place.left, place.top, place.width, place.height);
}

QStaticText PreparedText(const char* text, const QFont& font) {
  QStaticText prepared(QString::fromUtf8(text));
  prepared.setTextFormat(Qt::PlainText);
  prepared.setPerformanceHint(QStaticText::AggressiveCaching);
  prepared.prepare(QTransform(), font);
  return prepared;
}

constexpr QSize kButtonPictureSize(196, 36);

// A picture enlarged pixel for pixel, each pixel a factor x factor block.
// A paddle not yet drawn has no picture to enlarge.
QPixmap Zoomed(const QPixmap& picture, int factor) {
  if (factor == 1 || picture.isNull()) return picture;
  return picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Where a label's lettering is drawn: centred in the label's rectangle.
QPointF TextPlace(const Rect& label, const QStaticText& text) {
  const QSizeF size = text.size();
  return QPointF(label.left + (label.width - size.width()) / 2,
                 label.top + (label.height - size.height()) / 2);
}

}  // namespace

Form1Widget::Form1Widget(const Form1Controls& controls)
    : controls_(&controls),
      background_(QtPixmap(pellmora::pictures::Background())),
      paddleUpright_(QtPixmap(pellmora::pictures::PaddleUpright())),
      paddleFlat_(QtPixmap(pellmora::pictures::PaddleFlat())),
      ball_(QtPixmap(pellmora::pictures::Ball())),
      labelFont_(fonts::DesignFont(design::kTitleFont)),
      title_(PreparedText(design::kGameName, labelFont_)),
      banner_(PreparedText(design::kPauseCaption, labelFont_)) {
  for (int k = 0; k < 6; ++k) itemPanels_[k] = QtPixmap(pellmora::pictures::ItemPanel(k));
  for (int n = 0; n < 3; ++n) buttonPictures_[n] = QtPixmap(pellmora::pictures::ButtonPicture(n));
  zoomed_.background = background_;
  zoomed_.ball = ball_;
  for (int k = 0; k < 6; ++k) zoomed_.items[k] = itemPanels_[k];

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
    // The classic raised edge around the picture, as the ranking window's
    // close button has it, whatever the desktop's theme.
    button->setStyle(&ClassicStyle::Instance());
    QPalette face = button->palette();
    face.setColor(QPalette::Button, QColor::fromRgb(edges::kLight));
    button->setPalette(face);
    button->setIcon(QIcon(buttonPictures_[n]));
    button->setIconSize(kButtonPictureSize);
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
  const ScreenObject* places[3] = {&controls_->Command1, &controls_->Command2,
                                   &controls_->Command3};
  for (int n = 0; n < 3; ++n) {
    const ScreenObject& place = *places[n];
    // Where the zoomed field shows it, so that the mouse hits what it sees.
    const QRect rect = placement_.ToArea(
        QRect(qRound(place.Left), qRound(place.Top), qRound(place.Width), qRound(place.Height)));
    if (commands_[n]->geometry() != rect) commands_[n]->setGeometry(rect);
    if (commands_[n]->isVisibleTo(this) != place.Visible) commands_[n]->setVisible(place.Visible);
  }
  // Qt may leave the keyboard focus on a button the game just hid; Space or
  // Return would then press a start or quit button nobody can see.
  if (QWidget* focus = focusWidget(); focus != nullptr && !focus->isVisibleTo(this)) {
    focus->clearFocus();
  }
}

void Form1Widget::Place() {
  const FieldPlacement placement = PlaceField(size());
  const bool zoomed = placement.factor != placement_.factor;
  placement_ = placement;
  if (zoomed) {
    // The lettering is laid out for the zoomed glyphs, drawn at full
    // resolution; the buttons' pictures are enlarged pixel for pixel.
    const QTransform zoom = QTransform::fromScale(placement_.factor, placement_.factor);
    title_.prepare(zoom, labelFont_);
    banner_.prepare(zoom, labelFont_);
    const int f = placement_.factor;
    widgetzoom::Set(*this, f);
    zoomed_.background = Zoomed(background_, f);
    zoomed_.ball = Zoomed(ball_, f);
    for (int k = 0; k < 6; ++k) zoomed_.items[k] = Zoomed(itemPanels_[k], f);
    zoomed_.upright = Zoomed(stretchedUpright_, f);
    zoomed_.flat = Zoomed(stretchedFlat_, f);
    for (int n = 0; n < 3; ++n) {
      const QSize size = kButtonPictureSize * placement_.factor;
      commands_[n]->setIcon(QIcon(Zoomed(buttonPictures_[n], f)));
      commands_[n]->setIconSize(size);
    }
  }
  SyncButtons();
  if (zoomed) emit ZoomChanged(placement_.factor);
}

void Form1Widget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Place();
  // A new size repaints the whole client area anyway.
  drawn_.Remember(*controls_, *this);
}

Rect Form1Widget::LabelInk(LabelId label, const Rect& where) const {
  const QStaticText& text = label == LabelId::Title ? title_ : banner_;
  const QRectF ink(TextPlace(where, text), text.size());
  return Rect{static_cast<float>(ink.x()), static_cast<float>(ink.y()),
              static_cast<float>(ink.width()), static_cast<float>(ink.height())};
}

QRect Form1Widget::AreaOf(const Rect& game) const {
  if (game == Rect{}) return QRect();  // hidden
  const int f = placement_.factor;
  const QRectF area(placement_.origin.x() + game.left * f, placement_.origin.y() + game.top * f,
                    game.width * f, game.height * f);
  // One game pixel of room each way for rounding and the lettering's
  // smoothed edges; the field's edges cut off whatever lies outside.
  return area.toAlignedRect().adjusted(-f, -f, f, f) & placement_.Field();
}

void Form1Widget::ShowGame(const Form1Controls& controls) {
  if (controls_ == &controls) return;
  controls_ = &controls;
  drawn_.Remember(*controls_, *this);
  SyncButtons();
  update();
}

void Form1Widget::UpdateChanged() {
  QRegion changed;
  drawn_.Update(*controls_, *this, [this, &changed](const Rect& before, const Rect& now) {
    changed += AreaOf(before);
    changed += AreaOf(now);
  });
  if (!changed.isEmpty()) update(changed);
}

void Form1Widget::DrawLabel(LabelId label, const Rect& where) {
  // Centred in the label's rectangle, lettering only: the field shows
  // through everywhere else. Laid out in game pixels, drawn at the screen's.
  const QStaticText& text = label == LabelId::Title ? title_ : banner_;
  painter_->save();
  painter_->translate(placement_.origin);
  painter_->scale(placement_.factor, placement_.factor);
  painter_->drawStaticText(TextPlace(where, text), text);
  painter_->restore();
}

void Form1Widget::DrawPaddle(const QRect& place, const QPixmap& picture, QPixmap& stretched,
                             QPixmap& zoomed) {
  // A paddle's ramp runs across its thickness whatever its length. It is
  // stretched at one screen pixel per game pixel first, so that the zoom
  // turns each of its pixels into a whole block like the rest of the field.
  if (place.isEmpty()) return;
  if (stretched.size() != place.size()) {
    QPixmap made(place.size());
    made.fill(Qt::transparent);
    QPainter maker(&made);
    maker.setRenderHint(QPainter::SmoothPixmapTransform, false);
    maker.drawPixmap(made.rect(), picture, picture.rect());
    maker.end();
    stretched = made;
  }
  if (zoomed.size() != stretched.size() * placement_.factor) {
    zoomed = Zoomed(stretched, placement_.factor);
  }
  painter_->drawPixmap(placement_.ToArea(place).topLeft(), zoomed);
}

void Form1Widget::DrawPicture(PictureId picture, const Rect& where) {
  // The pictures are drawn from their zoomed copies, a plain copy of pixels
  // each; only the lettering is drawn through the zoom.
  const QRect place = RectOf(where).toRect();
  switch (picture) {
    case PictureId::Background: {
      const QRect field = placement_.Field();
      painter_->fillRect(field, QColor::fromRgb(design::kForm1BackColor));
      painter_->drawPixmap(field.topLeft(), zoomed_.background);
      break;
    }
    case PictureId::PaddleUpright:
      DrawPaddle(place, paddleUpright_, stretchedUpright_, zoomed_.upright);
      break;
    case PictureId::PaddleFlat:
      DrawPaddle(place, paddleFlat_, stretchedFlat_, zoomed_.flat);
      break;
    case PictureId::Ball:
      painter_->drawPixmap(placement_.ToArea(place), zoomed_.ball);
      break;
    default: {
      const int k = static_cast<int>(picture) - static_cast<int>(PictureId::ItemPanel0);
      if (k < 0 || k >= 6) break;
      const int f = placement_.factor;
      painter_->drawPixmap(
          placement_.origin + QPoint(qRound(where.left) * f, qRound(where.top) * f),
          zoomed_.items[k]);
      break;
    }
  }
}

void Form1Widget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Pixel pictures stay sharp when scaled for a dense screen.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

  const QRect field = placement_.Field();
  if (field != rect()) {
    // The whole screen around the field: plain black bars.
    const QRegion bars = QRegion(rect()) - field;
    for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
  }
  // One rectangle of the changed places at a time: a plain rectangle clip
  // lets every picture be copied row by row, where a clip of many pieces
  // would be drawn span by span.
  for (const QRect& part : event->region()) {
    // Objects parked outside the field never show on the bars.
    painter.setClipRect(part & field);
    PaintField(painter);
  }
}

void Form1Widget::PaintField(QPainter& painter) {
  painter.setPen(Qt::black);
  painter.setFont(labelFont_);
  painter_ = &painter;
  PaintForm1(*controls_, *this, -1);
  painter_ = nullptr;
}

void Form1Widget::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closing();
}

}  // namespace pellmora
