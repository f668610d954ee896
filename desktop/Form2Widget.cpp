#include "desktop/Form2Widget.h"

#include <QCloseEvent>
#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QString>

#include "assets/Pictures.h"
#include "desktop/Fonts.h"
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
               Qt::Alignment alignment) {
  auto* box = new QLineEdit(parent);
  box->setGeometry(RectOf(cell));
  box->setFont(fonts::DesignFont(font));
  box->setAlignment(alignment | Qt::AlignVCenter);
  // Nothing typed into the ranking is ever read back, so the boxes only show
  // the list; selecting and copying a name still works.
  box->setReadOnly(true);
  return box;
}

}  // namespace

Form2Widget::Form2Widget() : background_(QtPixmap(pellmora::pictures::Background())) {
  setFixedSize(design::kForm2ClientWidth, design::kForm2ClientHeight);
  setWindowTitle(QString::fromUtf8(design::kForm2Caption));
  setWindowIcon(QIcon(QtPixmap(pellmora::pictures::Icon())));
  setAttribute(Qt::WA_OpaquePaintEvent);

  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    label1_[i] = RankLabel(this, QString::number(i + 1), row.rank, i, Qt::AlignCenter);
    text1_[i] = Box(this, row.name, design::kNameFont[i], Qt::AlignLeft);
    text2_[i] = Box(this, row.score, design::kScoreFont[i], Qt::AlignRight);
    label2_[i] = RankLabel(this, QString::fromUtf8(design::kUnitCaption), row.unit, i,
                           Qt::AlignLeft | Qt::AlignVCenter);
  }

  command1_ = new QPushButton(QString::fromUtf8(design::kForm2CloseCaption), this);
  command1_->setGeometry(RectOf(design::kForm2CloseButton));
  command1_->setAutoDefault(false);
  const QColor face = QColor::fromRgb(design::kForm2CloseBackColor);
  // A style sheet on this button only: the face shows its colour under any
  // style, with a raised edge that sinks while pressed.
  command1_->setStyleSheet(
      QStringLiteral("QPushButton { background-color: %1; border: 2px outset %1; }"
                     "QPushButton:pressed { border-style: inset; }"
                     "QPushButton:focus { outline: 1px dotted black; }")
          .arg(face.name()));

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
