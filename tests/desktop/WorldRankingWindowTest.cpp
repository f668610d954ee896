// The world ranking against the real server, started from the build tree:
// a game played in the window and sent from the ranking window's menu is
// ranked by the server (asked over its own HTTP API) with the window's score
// and name; the world ranking window shows that row and plays its replay.
// A server that does not answer, or a closed port, holds up nothing and is
// told to the player.
#include <QAction>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <map>
#include <optional>

#include "PlayTestSupport.h"

#ifndef PELLMORA_RANKING_SERVER
#error "tests/CMakeLists.txt gives the server's path as PELLMORA_RANKING_SERVER"
#endif

namespace pellmora {
namespace {

using playtest::ModalWatcher;
using playtest::RunFor;
using playtest::WaitUntil;

// pellmora-ranking-server on a free port with a data folder of its own.
class RankingServer {
 public:
  RankingServer() {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(
        QStringLiteral(PELLMORA_RANKING_SERVER),
        {"--listen", "127.0.0.1:0", "--data", data_.path(), "--submissions-per-minute", "0"});
    const QRegularExpression listening(
        QStringLiteral("listening on (http://127\\.0\\.0\\.1:\\d+)/"));
    WaitUntil(
        [&] {
          const auto match = listening.match(QString::fromUtf8(process_.readAllStandardOutput()));
          if (match.hasMatch()) url_ = match.captured(1);
          return !url_.isEmpty() || process_.state() == QProcess::NotRunning;
        },
        10000);
  }
  // Its data goes with it: no need to wait for a clean stop.
  ~RankingServer() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  const QString& Url() const { return url_; }

 private:
  QTemporaryDir data_;
  QProcess process_;
  QString url_;
};

// A GET of the server's API through a manager of the test's own.
QByteArray Get(const QString& url) {
  QNetworkAccessManager manager;
  QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url)));
  WaitUntil([&] { return reply->isFinished(); }, 10000);
  const QByteArray body = reply->readAll();
  delete reply;
  return body;
}

class WorldRankingWindow : public playtest::MenuHost {
 protected:
  void UseServer(const QString& url) {
    Preferences preferences = host->CurrentPreferences();
    preferences.rankingServer = url.toStdString();
    host->SetPreferences(preferences);
  }

  // The right-click menu at `at` of `cell` (its centre without): each
  // offer's caption and whether it is enabled; `pick` is triggered.
  std::map<QString, bool> MenuOn(QWidget& cell, const char* pick = nullptr,
                                 std::optional<QPoint> place = std::nullopt) {
    const QPoint at = place.value_or(cell.rect().center());
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, cell.mapToGlobal(at));
    QApplication::sendEvent(&cell, &event);
    QMenu* menu = nullptr;
    WaitUntil(
        [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
        1000);
    std::map<QString, bool> offers;
    if (menu == nullptr) return offers;
    for (QAction* action : menu->actions()) {
      offers[action->text()] = action->isEnabled();
      if (pick != nullptr && action->text() == QString::fromUtf8(pick)) action->trigger();
    }
    menu->close();
    QCoreApplication::processEvents();
    return offers;
  }

  // The text of the world ranking's box once it is up, the box closed.
  QString WorldBoxText() {
    QString text;
    WaitUntil(
        [&] {
          for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible() &&
                box->windowTitle() == QString::fromUtf8(QtHost::kWorldBoxTitle)) {
              text = box->text();
              box->close();
            }
          }
          return !text.isEmpty();
        },
        10000);
    return text;
  }
};

TEST_F(WorldRankingWindow, AGameSentFromTheRankingIsRankedAndWatchedFromTheWorld) {
  if (std::string(PELLMORA_RANKING_SERVER).empty()) GTEST_SKIP() << "built without the server";
  RankingServer server;
  ASSERT_FALSE(server.Url().isEmpty()) << "the server did not start: " PELLMORA_RANKING_SERVER;
  // Taro's entry has no kept replay: it is not offered for sending.
  ASSERT_TRUE(playtest::WriteFile(
      kHiScoreFileName, "1,0,0,0,0,0,0,0,0,0\r\nTaro\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
  Game().LoadHiScores();
  ModalWatcher boxes([](QWidget& box) {
    if (auto* input = qobject_cast<QInputDialog*>(&box)) {
      input->setTextValue(QStringLiteral("Desk"));
      input->accept();
    }
  });
  Window().Command(0).click();
  host->Session().SetAutopilot(true);
  ASSERT_TRUE(WaitUntil([this] { return Game().score > 1; }, 20000));
  // Left to itself the ball is soon lost: a game as played, which the
  // server re-runs to its score.
  host->Session().SetAutopilot(false);
  ASSERT_TRUE(WaitUntil([this] { return Game().playing == VbFalse; }, 30000));
  ASSERT_TRUE(WaitForMenu());
  const int score = Game().score;

  Window().Command(1).click();
  Form2Widget* ranking = host->RankingWindow();
  ASSERT_NE(ranking, nullptr);
  const QString send = QString::fromUtf8(Form2Widget::kSendCaption);
  const QString view = QString::fromUtf8(Form2Widget::kWorldCaption);
  // Without an address nothing can be sent or seen.
  auto offers = MenuOn(ranking->Label2(0));
  EXPECT_TRUE(offers.count(send) == 1 && !offers[send]);
  EXPECT_TRUE(offers.count(view) == 1 && !offers[view]);

  UseServer(server.Url());
  offers = MenuOn(ranking->Label2(1));
  EXPECT_TRUE(offers.count(send) == 1 && !offers[send]) << "Taro's game has no replay to send";
  offers = MenuOn(ranking->Text1(0), Form2Widget::kSendCaption);
  EXPECT_TRUE(offers[send] && offers[view]);
  const QString told = WorldBoxText();
  EXPECT_TRUE(told.contains(QStringLiteral("1位")) && told.contains(QString::number(score)))
      << told.toStdString();

  // Sent again, it is the same game, already ranked.
  MenuOn(ranking->Text2(0), Form2Widget::kSendCaption);
  EXPECT_EQ(WorldBoxText().toStdString(), "このゲームはもう登録されています（1位）。");

  // The server's own list: the game, by its player's name and score.
  const QJsonObject list =
      QJsonDocument::fromJson(Get(server.Url() + "/api/v1/ranking?limit=10")).object();
  const QJsonArray games = list.value("games").toArray();
  ASSERT_EQ(games.size(), 1) << QJsonDocument(list).toJson().toStdString();
  const QJsonObject game = games.at(0).toObject();
  EXPECT_EQ(game.value("name").toString(), QStringLiteral("Desk"));
  EXPECT_EQ(game.value("score").toInt(), score);
  EXPECT_EQ(game.value("rank").toInt(), 1);

  // The world ranking window shows it, and plays it from its row.
  MenuOn(ranking->Label1(0), Form2Widget::kWorldCaption);
  ASSERT_TRUE(WaitUntil([this] { return host->WorldRankingWindow() != nullptr; }, 2000));
  WorldRankingWidget& world = *host->WorldRankingWindow();
  ASSERT_TRUE(WaitUntil([&] { return world.Rows().topLevelItemCount() > 0; }, 10000))
      << world.Status().text().toStdString();
  ASSERT_EQ(world.Rows().topLevelItemCount(), 1);
  QTreeWidgetItem& row = *world.Rows().topLevelItem(0);
  EXPECT_EQ(row.text(WorldRankingWidget::RankColumn), QStringLiteral("1"));
  EXPECT_EQ(row.text(WorldRankingWidget::NameColumn), QStringLiteral("Desk"));
  EXPECT_EQ(row.text(WorldRankingWidget::ScoreColumn), QString::number(score));
  EXPECT_TRUE(
      row.text(WorldRankingWidget::DateColumn).startsWith(game.value("date").toString().left(4)))
      << row.text(WorldRankingWidget::DateColumn).toStdString();
  EXPECT_FALSE(world.Status().isVisible());
  MenuOn(*world.Rows().viewport(), Form2Widget::kWatchCaption,
         world.Rows().visualItemRect(&row).center());
  ASSERT_TRUE(WaitUntil([this] { return host->Watching() != nullptr; }, 10000));
  EXPECT_EQ(host->Watching()->Watched().name, "Desk");
  EXPECT_EQ(host->Watching()->Watched().score, score);
  playtest::PressKey(Window(), Qt::Key_Escape);
  EXPECT_EQ(host->Watching(), nullptr);

  // A server that takes the connection and never answers: the list waits
  // under its loading text while the game plays on, and Esc closes it.
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  UseServer(QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()));
  world.Load(0);
  EXPECT_EQ(world.Status().text(), QString::fromUtf8(WorldRankingWidget::kLoadingText));
  Window().Command(0).click();
  MakePaddlesSafe();
  const std::int64_t ticks = Timers().Fired(2);
  RunFor(500);
  EXPECT_GT(Timers().Fired(2), ticks + 10) << "the game stood still while the server was asked";
  EXPECT_TRUE(world.Status().isVisible());
  playtest::PressKey(world, Qt::Key_Escape);
  EXPECT_TRUE(WaitUntil([this] { return host->WorldRankingWindow() == nullptr; }, 2000));
  playtest::PressKey(Window(), Qt::Key_Escape);

  // A closed port: the player is told, in the box and in the list.
  const quint16 closed = silent.serverPort();
  silent.close();
  UseServer(QStringLiteral("http://127.0.0.1:%1").arg(closed));
  MenuOn(ranking->Label2(0), Form2Widget::kSendCaption);
  EXPECT_TRUE(WorldBoxText().contains(QStringLiteral("つながりませんでした")));
  MenuOn(ranking->Label2(0), Form2Widget::kWorldCaption);
  ASSERT_TRUE(WaitUntil([this] { return host->WorldRankingWindow() != nullptr; }, 2000));
  EXPECT_TRUE(WaitUntil(
      [this] {
        return host->WorldRankingWindow()->Status().text().contains(
            QStringLiteral("つながりませんでした"));
      },
      10000));
}

}  // namespace
}  // namespace pellmora
