// The ranking window: ten rows of rank, name box, score box and unit, and the
// close button, over the game's background picture.
#pragma once

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "host/Host.h"

class QContextMenuEvent;
class QMenu;

namespace pellmora {

class Form2Widget : public QWidget {
  Q_OBJECT

 public:
  // What a right-click on a rank's row offers: nothing (a free place), to
  // watch the entry's game, or the same greyed out (no replay is kept, or
  // none can be watched now).
  enum class WatchOffer { None, Unavailable, Available };
  // The words of the offer.
  static constexpr const char* kWatchCaption = "このゲームを見る";
  // What the menu offers of the world ranking: to send the rank's game
  // there, and to see its list; each greyed out while it cannot be done
  // (no kept replay, no server address).
  struct WorldOffer {
    bool canSend = false;
    bool canView = false;
  };
  static constexpr const char* kSendCaption = "世界ランキングに送る";
  static constexpr const char* kWorldCaption = "世界ランキングを見る";

  // `icon` is the game window's own: one icon for every opening, so that the
  // pixmaps drawn from it are made and cached once.
  explicit Form2Widget(const QIcon& icon);

  // Rank i + 1's cells, i = 0..9.
  QLabel& Label1(int i) { return *label1_[i]; }
  QLineEdit& Text1(int i) { return *text1_[i]; }
  QLineEdit& Text2(int i) { return *text2_[i]; }
  QLabel& Label2(int i) { return *label2_[i]; }
  QPushButton& Command1() { return *command1_; }

  // Shows the boxes' texts, places and visibility.
  void Sync(const Form2Controls& controls);

  // Draws the window `zoom` times its design size, every place, size, edge
  // and letter with it, as the game window is zoomed.
  void SetZoom(int zoom);

  // Asked at each right-click on rank 1..10's row; without it nothing is
  // offered.
  void SetWatchOffer(std::function<WatchOffer(int rank)> offer) { watchOffer_ = std::move(offer); }
  // Asked at each right-click (rank 0 away from an entry's row); without it
  // the world ranking is not offered.
  void SetWorldOffer(std::function<WorldOffer(int rank)> offer) { worldOffer_ = std::move(offer); }
  // The rank whose row lies under `pos` (the window's own pixels), 0 for none.
  int RankAt(QPoint pos) const;

 signals:
  // The player closed the window by its title bar.
  void Closing();
  // The player chose to watch the game of rank 1..10.
  void WatchAsked(int rank);
  // The player chose to send the game of rank 1..10 to the world ranking.
  void SendAsked(int rank);
  // The player chose to see the world ranking.
  void WorldRankingAsked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Puts the offers for `rank` at the top of `menu`; false when there are
  // none to make.
  bool AddOffers(QMenu& menu, int rank);
  void BoxMenu(QLineEdit& box, QPoint pos);

  std::function<WatchOffer(int)> watchOffer_;
  std::function<WorldOffer(int)> worldOffer_;
  QPixmap background_;
  QPixmap zoomedBackground_;
  int zoom_ = 1;
  QFont closeFont_;  // the close button's lettering at zoom 1
  // Where the game puts the name and score boxes, in design pixels.
  QRect boxPlaces_[2][10];
  QLabel* label1_[10] = {};
  QLineEdit* text1_[10] = {};
  QLineEdit* text2_[10] = {};
  QLabel* label2_[10] = {};
  QPushButton* command1_ = nullptr;
};

}  // namespace pellmora
