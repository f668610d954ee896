#include "desktop/WorldRankingWidget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPointer>

#include "assets/Pictures.h"
#include "desktop/ClassicStyle.h"
#include "desktop/Fonts.h"
#include "desktop/Form2Widget.h"
#include "desktop/PushButton.h"
#include "desktop/QtPictures.h"
#include "desktop/WidgetZoom.h"
#include "desktop/WorldRankingAnswer.h"
#include "host/Design.h"

namespace pellmora {

namespace {

// Places in design pixels, drawn times the zoom.
constexpr int kWidth = 529;
constexpr int kHeight = 420;
const QRect kListPlace(8, 8, 513, 348);
const QRect kButtonPlaces[3] = {{8, 368, 121, 41}, {137, 368, 121, 41}, {432, 368, 81, 41}};
constexpr int kColumnWidths[4] = {56, 215, 80, 140};
constexpr design::FontSpec kListFont{design::kProportionalGothic, 15, false};
constexpr design::FontSpec kStatusFont{design::kProportionalGothic, 21, false};

QRect Times(const QRect& rect, int zoom) {
  return QRect(rect.topLeft() * zoom, rect.size() * zoom);
}

// Raised, in the ranking window's close-button colour, whatever the
// desktop's style.
PushButton* Button(QWidget* parent, const char* caption) {
  auto* button = new PushButton(4, parent);
  button->setText(QString::fromUtf8(caption));
  button->setStyle(&ClassicStyle::Instance());
  QPalette face = button->palette();
  face.setColor(QPalette::Button, QColor::fromRgb(design::kForm2CloseBackColor));
  face.setColor(QPalette::ButtonText, Qt::black);
  button->setPalette(face);
  return button;
}

}  // namespace

WorldRankingWidget::WorldRankingWidget(WorldRankingClient& client, const QIcon& icon)
    : client_(client),
      background_(QtPixmap(pellmora::pictures::Background())),
      zoomedBackground_(background_) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowIcon(icon);
  setAttribute(Qt::WA_OpaquePaintEvent);

  rows_ = new QTreeWidget(this);
  rows_->setColumnCount(4);
  rows_->setHeaderLabels({QStringLiteral("順位"), QStringLiteral("名前"), QStringLiteral("得点"),
                          QStringLiteral("日付")});
  rows_->setRootIsDecorated(false);
  rows_->setUniformRowHeights(true);
  rows_->setSelectionMode(QAbstractItemView::SingleSelection);
  rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rows_->header()->setSectionsMovable(false);
  QPalette white = rows_->palette();
  white.setColor(QPalette::Base, Qt::white);
  white.setColor(QPalette::Text, Qt::black);
  rows_->setPalette(white);
  rows_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(rows_, &QWidget::customContextMenuRequested, this, &WorldRankingWidget::RowMenu);
  connect(rows_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    emit WatchAsked(item->data(RankColumn, Qt::UserRole).toLongLong());
  });

  // Over the list, where the rows would be, while there are none to show.
  status_ = new QLabel(this);
  status_->setTextFormat(Qt::PlainText);
  status_->setAlignment(Qt::AlignCenter);
  status_->setWordWrap(true);
  status_->setAutoFillBackground(true);
  QPalette plain = white;
  plain.setColor(QPalette::Window, Qt::white);
  plain.setColor(QPalette::WindowText, Qt::black);
  status_->setPalette(plain);

  previous_ = Button(this, "前の100位");
  next_ = Button(this, "次の100位");
  close_ = Button(this, design::kForm2CloseCaption);
  buttonFont_ = close_->font();
  connect(previous_, &QPushButton::clicked, this, [this] { Load(offset_ - kPageSize); });
  connect(next_, &QPushButton::clicked, this, [this] { Load(offset_ + kPageSize); });
  connect(close_, &QPushButton::clicked, this, &QWidget::close);
  previous_->setEnabled(false);
  next_->setEnabled(false);
  SetZoom(1);
}

void WorldRankingWidget::SetZoom(int zoom) {
  zoom_ = zoom;
  widgetzoom::Set(*this, zoom);
  setFixedSize(QSize(kWidth, kHeight) * zoom);
  zoomedBackground_ = zoom == 1 ? background_
                                : background_.scaled(background_.size() * zoom,
                                                     Qt::IgnoreAspectRatio, Qt::FastTransformation);
  rows_->setGeometry(Times(kListPlace, zoom));
  rows_->setFont(fonts::DesignFont(kListFont, zoom));
  for (int column = 0; column < 4; ++column) {
    rows_->setColumnWidth(column, kColumnWidths[column] * zoom);
  }
  // Below the list's header, over its rows.
  const int header = rows_->header()->sizeHint().height();
  status_->setGeometry(
      Times(kListPlace, zoom).adjusted(2 * zoom, header + 2 * zoom, -2 * zoom, -2 * zoom));
  status_->setFont(fonts::DesignFont(kStatusFont, zoom));
  QPushButton* buttons[3] = {previous_, next_, close_};
  for (int i = 0; i < 3; ++i) {
    buttons[i]->setGeometry(Times(kButtonPlaces[i], zoom));
    buttons[i]->setFont(fonts::Zoomed(buttonFont_, zoom));
  }
  update();
}

void WorldRankingWidget::Load(int offset) {
  offset_ = std::max(0, offset);
  const int request = ++request_;
  previous_->setEnabled(false);
  next_->setEnabled(false);
  ShowStatus(QString::fromUtf8(kLoadingText));
  client_.FetchRanking(offset_, kPageSize, this,
                       [this, request, offset = offset_](const WorldRankingClient::Answer& answer) {
                         if (request == request_) ShowPage(answer, offset);
                       });
}

void WorldRankingWidget::ShowPage(const WorldRankingClient::Answer& answer, int offset) {
  const WorldRankingPage page =
      answer.status == 200 ? ReadRankingPage(answer.body) : WorldRankingPage{};
  if (!page.ok) {
    rows_->clear();
    ShowStatus(FetchProblem(answer));
    // The same page again, when the server answers once more.
    next_->setEnabled(false);
    previous_->setEnabled(offset > 0);
    return;
  }
  total_ = page.total;
  rows_->clear();
  for (const WorldRankingRow& row : page.rows) {
    auto* item = new QTreeWidgetItem(rows_);
    item->setText(RankColumn, QString::number(row.rank));
    item->setText(NameColumn, row.name);
    item->setText(ScoreColumn, QString::number(row.score));
    item->setText(DateColumn, row.date);
    item->setTextAlignment(RankColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(ScoreColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(RankColumn, Qt::UserRole, QVariant::fromValue<qlonglong>(row.id));
  }
  if (page.rows.empty()) {
    ShowStatus(offset == 0 ? QStringLiteral("まだ誰も登録していません。")
                           : QStringLiteral("この先の順位はありません。"));
  } else {
    status_->hide();
  }
  previous_->setEnabled(offset > 0);
  next_->setEnabled(offset + kPageSize < total_);
}

void WorldRankingWidget::ShowStatus(const QString& text) {
  status_->setText(text);
  status_->show();
  status_->raise();
}

void WorldRankingWidget::RowMenu(QPoint pos) {
  QTreeWidgetItem* item = rows_->itemAt(pos);
  if (item == nullptr) return;
  const std::int64_t id = item->data(RankColumn, Qt::UserRole).toLongLong();
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QAction* watch = menu->addAction(QString::fromUtf8(Form2Widget::kWatchCaption));
  // Queued: the download starts once the menu has closed.
  connect(
      watch, &QAction::triggered, this, [this, id] { emit WatchAsked(id); }, Qt::QueuedConnection);
  menu->popup(rows_->viewport()->mapToGlobal(pos));
}

void WorldRankingWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, zoomedBackground_);
}

void WorldRankingWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace pellmora
