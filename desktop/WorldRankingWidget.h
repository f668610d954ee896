// The world ranking window: the best games of every player, a hundred at a
// time, as the server ranks them, over the game's background picture like
// the ranking window. It asks the server as it opens and as the player
// pages; a right-click or a double-click on a row offers to watch that game.
#pragma once

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>

#include "desktop/WorldRankingClient.h"

namespace pellmora {

class WorldRankingWidget : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "世界ランキング";
  static constexpr const char* kLoadingText = "読み込み中…";
  static constexpr int kPageSize = 100;
  // The columns: rank, name, score, date.
  enum Column { RankColumn, NameColumn, ScoreColumn, DateColumn };

  WorldRankingWidget(WorldRankingClient& client, const QIcon& icon);

  // Asks the server for the page of ranks from `offset` + 1 on.
  void Load(int offset);
  // Draws the window `zoom` times its design size, as the game window is.
  void SetZoom(int zoom);

  QTreeWidget& Rows() { return *rows_; }
  // The loading text, or why nothing could be loaded; hidden over a list.
  QLabel& Status() { return *status_; }
  QPushButton& Previous() { return *previous_; }
  QPushButton& Next() { return *next_; }
  QPushButton& Close() { return *close_; }

 signals:
  // The player chose to watch the game of the server's id `id`.
  void WatchAsked(std::int64_t id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowPage(const WorldRankingClient::Answer& answer, int offset);
  void ShowStatus(const QString& text);
  void RowMenu(QPoint pos);

  WorldRankingClient& client_;
  QPixmap background_;
  QPixmap zoomedBackground_;
  QTreeWidget* rows_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* close_ = nullptr;
  QFont buttonFont_;
  int zoom_ = 1;
  int offset_ = 0;
  int total_ = 0;
  // Counts the pages asked for: an answer to an older request than the
  // last is dropped.
  int request_ = 0;
};

}  // namespace pellmora
