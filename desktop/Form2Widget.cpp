#include "desktop/Form2Widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QContextMenuEvent>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QString>

#include "assets/Pictures.h"
#include "desktop/CaretLineEdit.h"
#include "desktop/ClassicStyle.h"
#include "desktop/Fonts.h"
#include "desktop/PushButton.h"
#include "desktop/QtPictures.h"
#include "desktop/WidgetZoom.h"
#include "host/Design.h"

namespace pellmora {

namespace {

QRect RectOf(const design::Cell& cell) {
  return QRect(cell.left, cell.top, cell.width, cell.height);
}

QRect Times(const QRect& rect, int zoom) {
  return QRect(rect.topLeft() * zoom, rect.size() * zoom);
}

QRect RectOf(const ScreenObject& object) {
  return QRect(qRound(object.Left), qRound(object.Top), qRound(object.Width),
               qRound(object.Height));
}

QLabel* RankLabel(QWidget* parent, const QString& text, int rank, Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(design::kRankBackColor[rank]));
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QLineEdit* Box(QWidget* parent, Qt::Alignment alignment, bool takesTyping) {
  auto* box = new CaretLineEdit(parent);
  // Square corners and a sunken edge around a white field, whatever the
  // desktop's style.
  box->setStyle(&ClassicStyle::Instance());
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  box->setPalette(palette);
  box->setAlignment(alignment | Qt::AlignVCenter);
  // Nothing typed into the ranking is ever read back; it goes with the
  // window when the window is unloaded.
  box->setReadOnly(!takesTyping);
  return box;
}

}  // namespace

Form2Widget::Form2Widget(const QIcon& icon)
    : background_(QtPixmap(pellmora::pictures::Background())), zoomedBackground_(background_) {
  setWindowTitle(QString::fromUtf8(design::kForm2Caption));
  setWindowIcon(icon);
  setAttribute(Qt::WA_OpaquePaintEvent);

  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    label1_[i] = RankLabel(this, QString::number(i + 1), i, Qt::AlignCenter);
    // The names take typing like any text box; the scores stay read-only,
    // so that the list cannot be made to look changed.
    text1_[i] = Box(this, Qt::AlignLeft, true);
    text2_[i] = Box(this, Qt::AlignRight, false);
    label2_[i] = RankLabel(this, QString::fromUtf8(design::kUnitCaption), i,
                           Qt::AlignLeft | Qt::AlignVCenter);
    boxPlaces_[0][i] = RectOf(row.name);
    boxPlaces_[1][i] = RectOf(row.score);
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
  closeFont_ = close->font();
  // A raised edge around a face of the button's own colour, sunk while it is
  // pressed, whatever the desktop's style.
  close->setStyle(&ClassicStyle::Instance());
  QPalette face = close->palette();
  face.setColor(QPalette::Button, QColor::fromRgb(design::kForm2CloseBackColor));
  face.setColor(QPalette::ButtonText, Qt::black);
  close->setPalette(face);

  // A right-click on a box shows the box's own menu, with the offers to
  // watch the rank's game and of the world ranking at its top.
  for (int i = 0; i < 10; ++i) {
    for (QLineEdit* box : {text1_[i], text2_[i]}) {
      box->setContextMenuPolicy(Qt::CustomContextMenu);
      connect(box, &QWidget::customContextMenuRequested, this,
              [this, box](QPoint pos) { BoxMenu(*box, pos); });
    }
  }

  for (int i = 0; i < 9; ++i) setTabOrder(text2_[i], text2_[i + 1]);
  setTabOrder(text2_[9], command1_);
  setTabOrder(command1_, text1_[0]);
  for (int i = 0; i < 9; ++i) setTabOrder(text1_[i], text1_[i + 1]);
  text2_[0]->setFocus();
  SetZoom(1);
}

void Form2Widget::SetZoom(int zoom) {
  zoom_ = zoom;
  widgetzoom::Set(*this, zoom);
  setFixedSize(QSize(design::kForm2ClientWidth, design::kForm2ClientHeight) * zoom);
  zoomedBackground_ = zoom == 1 ? background_
                                : background_.scaled(background_.size() * zoom,
                                                     Qt::IgnoreAspectRatio, Qt::FastTransformation);
  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    label1_[i]->setGeometry(Times(RectOf(row.rank), zoom));
    label1_[i]->setFont(fonts::DesignFont(design::kRankFont[i], zoom));
    label2_[i]->setGeometry(Times(RectOf(row.unit), zoom));
    label2_[i]->setFont(fonts::DesignFont(design::kRankFont[i], zoom));
    const design::FontSpec* boxFonts[2] = {&design::kNameFont[i], &design::kScoreFont[i]};
    QLineEdit* edits[2] = {text1_[i], text2_[i]};
    for (int b = 0; b < 2; ++b) {
      edits[b]->setGeometry(Times(boxPlaces_[b][i], zoom));
      edits[b]->setFont(fonts::DesignFont(*boxFonts[b], zoom));
      // Qt keeps two pixels between the edge and the lettering at every zoom;
      // the rest of the zoomed gap goes here.
      const int margin = 2 * (zoom - 1);
      edits[b]->setTextMargins(margin, 0, margin, 0);
    }
  }
  command1_->setGeometry(Times(RectOf(design::kForm2CloseButton), zoom));
  command1_->setFont(fonts::Zoomed(closeFont_, zoom));
  update();
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
      boxPlaces_[b][i] = RectOf(*boxes[b]);
      const QRect rect = Times(boxPlaces_[b][i], zoom_);
      if (edits[b]->geometry() != rect) edits[b]->setGeometry(rect);
      if (edits[b]->isVisibleTo(this) != boxes[b]->Visible) edits[b]->setVisible(boxes[b]->Visible);
    }
  }
}

void Form2Widget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The game's background from the top-left at the window's zoom, cut off by
  // the window; it covers the whole client area.
  painter.drawPixmap(0, 0, zoomedBackground_);
}

int Form2Widget::RankAt(QPoint pos) const {
  for (int i = 0; i < 10; ++i) {
    const QRect row = label1_[i]->geometry() | text1_[i]->geometry() | text2_[i]->geometry() |
                      label2_[i]->geometry();
    if (row.contains(pos)) return i + 1;
  }
  return 0;
}

bool Form2Widget::AddOffers(QMenu& menu, int rank) {
  const WatchOffer watch = rank >= 1 && watchOffer_ ? watchOffer_(rank) : WatchOffer::None;
  const bool world = static_cast<bool>(worldOffer_);
  const WorldOffer worldOffer =
      world ? worldOffer_(watch == WatchOffer::None ? 0 : rank) : WorldOffer{};
  QList<QAction*> offers;
  // Each queued: what was chosen starts once the menu has closed.
  const auto offer = [&](const char* caption, bool enabled, auto signal) {
    auto* action = new QAction(QString::fromUtf8(caption), &menu);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, signal, Qt::QueuedConnection);
    offers.append(action);
  };
  if (watch != WatchOffer::None) {
    offer(kWatchCaption, watch == WatchOffer::Available, [this, rank] { emit WatchAsked(rank); });
    if (world) offer(kSendCaption, worldOffer.canSend, [this, rank] { emit SendAsked(rank); });
  }
  if (world) offer(kWorldCaption, worldOffer.canView, [this] { emit WorldRankingAsked(); });
  if (offers.isEmpty()) return false;
  QAction* first = menu.actions().isEmpty() ? nullptr : menu.actions().constFirst();
  menu.insertActions(first, offers);
  if (first != nullptr) menu.insertSeparator(first);
  return true;
}

// The labels and the background between the cells: the watch and send
// offers only where the row holds an entry.
void Form2Widget::contextMenuEvent(QContextMenuEvent* event) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (!AddOffers(*menu, RankAt(event->pos()))) {
    delete menu;
    return;
  }
  menu->popup(event->globalPos());
}

void Form2Widget::BoxMenu(QLineEdit& box, QPoint pos) {
  QMenu* menu = box.createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  AddOffers(*menu, RankAt(box.mapTo(this, pos)));
  menu->popup(box.mapToGlobal(pos));
}

void Form2Widget::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closing();
}

}  // namespace pellmora
