// The world ranking from the game window's side: sending a kept game when
// the player asks, the world's list in a window of its own, and its games
// watched in the game window. Nothing here waits: every answer arrives on
// the event loop while the game goes on.
#include <QMessageBox>
#include <QString>

#include "desktop/BoxLayout.h"
#include "desktop/DialogLook.h"
#include "desktop/QtHost.h"
#include "desktop/WorldRankingAnswer.h"
#include "play/ReplayShelf.h"

namespace pellmora {

Form2Widget::WorldOffer QtHost::WorldOfferFor(int rank) {
  Form2Widget::WorldOffer offer;
  offer.canView = !world_.Server().empty();
  HiScoreTable table;
  offer.canSend = offer.canView && rank >= 1 && rank <= kHiScoreListed && ShownTable(table) &&
                  !table.hiNames[rank - 1].empty() && ReplayOfRank(files_, table, rank).has_value();
  return offer;
}

void QtHost::SendRank(int rank) {
  HiScoreTable table;
  if (ended_ || world_.Server().empty() || rank < 1 || rank > kHiScoreListed ||
      !ShownTable(table)) {
    return;
  }
  const std::optional<Replay> replay = ReplayOfRank(files_, table, rank);
  if (!replay) {
    TellWorld(QStringLiteral("%1位のゲームのリプレイが見つかりません。").arg(rank));
    return;
  }
  const std::string bytes = WriteReplay(*replay);
  world_.SendReplay(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), this,
                    [this](const WorldRankingClient::Answer& answer) {
                      if (!ended_) TellWorld(SendOutcome(answer));
                    });
}

void QtHost::ShowWorldRanking() {
  if (ended_ || world_.Server().empty()) return;
  if (worldWidget_ == nullptr) {
    auto* widget = new WorldRankingWidget(world_, window_->windowIcon());
    widget->setAttribute(Qt::WA_DeleteOnClose);
    widget->SetZoom(window_->Placement().factor);
    connect(widget, &WorldRankingWidget::WatchAsked, this,
            [this](std::int64_t id) { WatchWorldGame(id); });
    worldWidget_ = widget;
  }
  // Asked again, the list is fetched afresh from the top.
  worldWidget_->Load(0);
  worldWidget_->show();
  worldWidget_->raise();
  worldWidget_->activateWindow();
}

void QtHost::WatchWorldGame(std::int64_t id) {
  if (ended_ || world_.Server().empty()) return;
  world_.FetchReplay(id, this, [this](const WorldRankingClient::Answer& answer) {
    if (ended_) return;
    if (answer.status != 200) {
      RefuseWatch(FetchProblem(answer).toStdString(), "the world ranking's replay was not fetched");
      return;
    }
    if (answer.body.size() > static_cast<qsizetype>(kMaxReplayBytes)) {
      RefuseWatch("このリプレイは大きすぎて再生できません。", "the replay is too large");
      return;
    }
    const ReplayRead read = ReadReplay(answer.body.toStdString());
    if (!read.ok) {
      RefuseWatch("このリプレイは再生できません（" + read.error + "）。",
                  "the world ranking's replay cannot be watched: " + read.error);
      return;
    }
    Watch(read.replay);
  });
}

void QtHost::TellWorld(const QString& text) {
  auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromUtf8(kWorldBoxTitle), text,
                              QMessageBox::Ok, window_.get());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setTextFormat(Qt::PlainText);
  // Shown beside the game, not over it: play goes on while it is up.
  box->setModal(false);
  dialoglook::Apply(*box);
  BoxLayout::Arrange(*box, window_->Placement().factor);
  box->show();
}

}  // namespace pellmora
