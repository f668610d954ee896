#include "desktop/Form2Widget.h"

#include <QCloseEvent>
#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QString>

#include "assets/Pictures.h"
#include "desktop/ClassicStyle.h"
#include "desktop/Fonts.h"
#include "desktop/PushButton.h"
#include "desktop/QtPictures.h"
#include "host/Design.h"

namespace pellmora {

namespace {

QRect RectOf(const design::Cell& cell) {
  return QRect(cell.left, cell.top, cell.width, cell.height);
}

QRect RectOf(const ScreenObject& object) {
  return QRect(qRound(object.Left), qRound(object.Top), qRound(object.Width),
               qRound(object.Height));
}

QLabel* RankLabel(QWidget* parent, const QString& text, const design::Cell& cell, int rank,
                  Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(RectOf(cell));
  label->setFont(fonts::DesignFont(design::kRankFont[rank]));
  label->setAlignment(alignment);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(design::kRankBackColor[rank]));
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QLineEdit* Box(QWidget* parent, const design::Cell& cell, const design::FontSpec& font,
               Qt::Alignment alignment, bool takesTyping) {
  auto* box = new QLineEdit(parent);
  // Square corners and a sunken edge around a white field, whatever the
  // desktop's style.
  box->setStyle(&ClassicStyle::Instance());
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  box->setPalette(palette);
  box->setGeometry(RectOf(cell));
  box->setFont(fonts::DesignFont(font));
  box->setAlignment(alignment | Qt::AlignVCenter);
  // Nothing typed into the ranking is ever read back; it goes with the
  // window when the window is unloaded.
  box->setReadOnly(!takesTyping);
  return box;
}

}  // namespace

Form2Widget::Form2Widget(const QIcon& icon)
    : background_(QtPixmap(pellmora::pictures::Background())) {
  setFixedSize(design::kForm2ClientWidth, design::kForm2ClientHeight);
  setWindowTitle(QString::fromUtf8(design::kForm2Caption));
  setWindowIcon(icon);
  setAttribute(Qt::WA_OpaquePaintEvent);

  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    label1_[i] = RankLabel(this, QString::number(i + 1), row.rank, i, Qt::AlignCenter);
    // The names take typing like any text box; the scores stay read-only,
    // so that the list cannot be made to look changed.
    text1_[i] = Box(this, row.name, design::kNameFont[i], Qt::AlignLeft, true);
    text2_[i] = Box(this, row.score, design::kScoreFont[i], Qt::AlignRight, false);
    label2_[i] = RankLabel(this, QString::fromUtf8(design::kUnitCaption), row.unit, i,
                           Qt::AlignLeft | Qt::AlignVCenter);
  }
  // Boxes are windows of their own on the home platform and lie above every
  // label: a box's edge shows where it touches a rank or unit label.
  for (int i = 0; i < 10; ++i) {
    text1_[i]->raise();
    text2_[i]->raise();
  }

  auto* close = new PushButton(4, this);
  command1_ = close;
  close->setText(QString::fromUtf8(design::kForm2CloseCaption));
  close->setGeometry(RectOf(design::kForm2CloseButton));
  // A raised edge around a face of the button's own colour, sunk while it is
  // pressed, whatever the desktop's style.
  close->setStyle(&ClassicStyle::Instance());
  QPalette face = close->palette();
  face.setColor(QPalette::Button, QColor::fromRgb(design::kForm2CloseBackColor));
  face.setColor(QPalette::ButtonText, Qt::black);
  close->setPalette(face);

  for (int i = 0; i < 9; ++i) setTabOrder(text2_[i], text2_[i + 1]);
  setTabOrder(text2_[9], command1_);
  setTabOrder(command1_, text1_[0]);
  for (int i = 0; i < 9; ++i) setTabOrder(text1_[i], text1_[i + 1]);
  text2_[0]->setFocus();
}

void Form2Widget::Sync(const Form2Controls& controls) {
  for (int i = 0; i < 10; ++i) {
    const TextBox* boxes[2] = {&controls.Text1[i], &controls.Text2[i]};
    QLineEdit* edits[2] = {text1_[i], text2_[i]};
    for (int b = 0; b < 2; ++b) {
      const QString text = QString::fromStdString(boxes[b]->Text);
      if (edits[b]->text() != text) {
        edits[b]->setText(text);
        edits[b]->setCursorPosition(0);
      }
      const QRect rect = RectOf(*boxes[b]);
      if (edits[b]->geometry() != rect) edits[b]->setGeometry(rect);
      if (edits[b]->isVisibleTo(this) != boxes[b]->Visible) edits[b]->setVisible(boxes[b]->Visible);
    }
  }
}

void Form2Widget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The game's background, unscaled from the top-left, cut off by the window;
  // it covers the whole client area.
  painter.drawPixmap(0, 0, background_);
}

void Form2Widget::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closing();
}

}  // namespace pellmora
