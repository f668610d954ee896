// A game played in the real window, on the real clock with keys pressed and
// let go, a pause and the autopilot, re-runs from its recording on the
// virtual clock to the score the window showed; one byte changed does not.
// Watched in the same window, it plays as it was played, answers Space, the
// right arrow and Esc, and leaves the game and its score file as they were;
// the ranking window offers a kept replay on its row; a damaged file is told.
#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMessageBox>

#include "PlayTestSupport.h"
#include "game/Int16.h"
#include "play/ReplayCheck.h"
#include "play/ReplayShelf.h"

namespace pellmora {
namespace {

using playtest::ModalWatcher;
using playtest::PressKey;
using playtest::ReadFile;
using playtest::ReleaseKey;
using playtest::RunFor;
using playtest::Visible;
using playtest::WaitUntil;
using playtest::WriteFile;

class ReplayWindow : public playtest::MenuHost {
 protected:
  // A short game in the window: the autopilot, a pause with Esc, then the
  // ball left to itself until it is lost. Its recording.
  Replay PlayAGame() {
    Window().Command(0).click();
    EXPECT_EQ(Game().playing, VbTrue);
    host->Session().SetAutopilot(true);
    RunFor(1500);
    host->Session().SetAutopilot(false);
    PressKey(Window(), Qt::Key_Escape);
    RunFor(300);
    PressKey(Window(), Qt::Key_Escape);
    EXPECT_TRUE(WaitUntil([this] { return Game().playing == VbFalse; }, 30000))
        << "the ball was never lost";
    EXPECT_TRUE(host->Session().Recordings().HasLastGame());
    return host->Session().Recordings().LastGame("desktop");
  }

  bool Watching() { return host->Watching() != nullptr; }
  QString Caption() { return Window().windowTitle(); }
  bool MenuUp() {
    return Visible(Window().Command(0), Window()) && Visible(Window().Command(2), Window());
  }
};

// A table of ten hand-made entries below any score: every game reaches the
// ranking, and its name box comes up.
const QByteArray kLowTable =
    "-1,-2,-3,-4,-5,-6,-7,-8,-9,-10\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\n";

TEST_F(ReplayWindow, AGamePlayedInTheWindowReRunsToItsScore) {
  ModalWatcher boxes([](QWidget&) {});
  Window().Command(0).click();
  ASSERT_EQ(Game().playing, VbTrue);
  host->Session().SetAutopilot(true);
  playtest::RunFor(1500);
  host->Session().SetAutopilot(false);
  playtest::PressKey(Window(), Qt::Key_Up);
  playtest::PressKey(Window(), Qt::Key_Left);
  playtest::RunFor(300);
  playtest::ReleaseKey(Window(), Qt::Key_Left);
  playtest::PressKey(Window(), Qt::Key_Escape);  // the banner comes up
  playtest::RunFor(400);
  playtest::PressKey(Window(), Qt::Key_Escape);  // and goes again
  playtest::ReleaseKey(Window(), Qt::Key_Up);
  ASSERT_TRUE(playtest::WaitUntil([this] { return Game().playing == VbFalse; }, 30000))
      << "the ball was never lost";

  const Recorder& recorded = host->Session().Recordings();
  ASSERT_TRUE(recorded.HasLastGame());
  const Replay replay = recorded.LastGame("desktop");
  const ReplayRead read = ReadReplay(WriteReplay(replay));
  ASSERT_TRUE(read.ok) << read.error;
  const ReplayVerdict verdict = CheckReplay(read.replay);
  EXPECT_EQ(verdict.status, ReplayVerdict::Ok)
      << "differs at second " << verdict.second << " " << verdict.problem;
  EXPECT_EQ(verdict.score, Game().score);
  EXPECT_EQ(read.replay.host, "desktop");

  // A score that is not the game's, or a start with the left paddle moved
  // (the top bits of Image1.Left), never re-runs.
  Replay claimed = read.replay;
  claimed.score += 1;
  EXPECT_EQ(CheckReplay(claimed).status, ReplayVerdict::Differs);
  Replay moved = read.replay;
  moved.start.bytes[32 + 5 * 17 + 2] ^= 0x40;
  EXPECT_EQ(CheckReplay(moved).status, ReplayVerdict::Differs);
}

// The game just played, watched in the window: its own pictures and score
// under a caption that names the player; Space holds it, the right arrow
// speeds it up; at its end the menu is back, no box came up and the score
// file is what it was, byte for byte.
TEST_F(ReplayWindow, AGameIsWatchedInTheWindowAsItWasPlayed) {
  RestartWith([] { ASSERT_TRUE(WriteFile(kHiScoreFileName, kLowTable)); });
  ModalWatcher boxes([](QWidget&) {});  // the name box is cancelled: 名無し
  const Replay replay = PlayAGame();
  ASSERT_TRUE(WaitForMenu());
  ASSERT_EQ(replay.name, "名無し");
  const QByteArray table = ReadFile(kHiScoreFileName);
  const int boxesBefore = boxes.Seen();
  const std::string sessionCaption = Game().Caption;

  ASSERT_TRUE(host->Watch(replay));
  ASSERT_TRUE(Watching());
  const Form1& watched = host->Watching()->Game();
  EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&watched));
  EXPECT_TRUE(Caption().startsWith(QStringLiteral("リプレイ再生中"))) << Caption().toStdString();
  EXPECT_TRUE(Caption().contains(QStringLiteral("名無し"))) << Caption().toStdString();
  ASSERT_TRUE(WaitUntil([&] { return watched.playing == VbTrue; }, 2000));
  EXPECT_FALSE(Visible(Window().Command(0), Window())) << "the menu shows over a replay in play";

  // Space holds the picture, and again lets it go on.
  PressKey(Window(), Qt::Key_Space);
  ASSERT_TRUE(host->Watching()->Paused());
  EXPECT_TRUE(Caption().contains(QStringLiteral("一時停止"))) << Caption().toStdString();
  const GameSnapshot held = GameSnapshot::Of(watched);
  RunFor(300);
  EXPECT_EQ(GameSnapshot::Of(watched).Checksum(), held.Checksum()) << "the paused replay moved";
  PressKey(Window(), Qt::Key_Space);
  EXPECT_FALSE(host->Watching()->Paused());
  // The right arrow: four times as fast.
  PressKey(Window(), Qt::Key_Right);
  EXPECT_TRUE(host->Watching()->Fast());
  EXPECT_TRUE(Caption().contains(QStringLiteral("4倍速"))) << Caption().toStdString();

  // The last picture stays a moment: the watched game's own score, its
  // ball drawn where that game left it.
  ASSERT_TRUE(WaitUntil([this] { return !Watching() || host->Watching()->Finished(); }, 30000));
  ASSERT_TRUE(Watching()) << "the end was not shown";
  EXPECT_EQ(host->Watching()->Problem(), "");
  EXPECT_EQ(watched.score, replay.score);
  EXPECT_EQ(watched.playing, VbFalse);
  const QImage shot = Shot();
  const QRect ball = playtest::RectOf(watched.Image5) & QRect(0, 0, 640, 480);
  if (!ball.isEmpty()) {
    EXPECT_GT(playtest::CountColour(shot, ball, playtest::kBallYellow), 0);
  }

  ASSERT_TRUE(WaitUntil([this] { return !Watching(); }, 5000));
  EXPECT_TRUE(MenuUp());
  EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&Game()));
  EXPECT_EQ(Caption().toStdString(), sessionCaption);
  EXPECT_EQ(boxes.Seen(), boxesBefore) << "watching asked or told something";
  EXPECT_EQ(ReadFile(kHiScoreFileName), table) << "watching changed the score file";
  // The game goes on as before.
  Window().Command(0).click();
  EXPECT_EQ(Game().playing, VbTrue);
}

// Esc stops a replay at once. A game in play waits paused while a replay
// plays, its clock standing still; only the player's Esc resumes it.
TEST_F(ReplayWindow, EscStopsAReplayAndAGameInPlayWaitsPaused) {
  ModalWatcher boxes([](QWidget&) {});
  const Replay replay = PlayAGame();
  ASSERT_TRUE(WaitForMenu());

  Window().Command(0).click();
  ASSERT_EQ(Game().playing, VbTrue);
  MakePaddlesSafe();
  RunFor(200);
  ASSERT_TRUE(host->Watch(replay));
  EXPECT_EQ(Game().pausing, VbTrue);
  EXPECT_FALSE(Game().Timer2.Enabled());
  const std::int64_t bannerTicks = Timers().Fired(3);
  const float bannerTop = Game().Label2.Top;
  RunFor(500);
  EXPECT_EQ(Timers().Fired(3), bannerTicks) << "the game's clock ran under the replay";
  EXPECT_EQ(Game().Label2.Top, bannerTop);

  PressKey(Window(), Qt::Key_Escape);
  EXPECT_FALSE(Watching());
  EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&Game()));
  EXPECT_TRUE(Caption().startsWith(QStringLiteral("Pellmora"))) << Caption().toStdString();
  // The banner rises on, and the player's Esc resumes the game.
  ASSERT_TRUE(WaitUntil([this] { return !Game().Timer3.Enabled(); }, 3000));
  EXPECT_EQ(Game().playing, VbTrue);
  EXPECT_FALSE(Game().Timer2.Enabled());
  PressKey(Window(), Qt::Key_Escape);
  ASSERT_TRUE(WaitUntil([this] { return Game().Timer2.Enabled(); }, 3000));
}

// A right-click on a rank's row offers to watch its game where a replay is
// kept for it, greys the offer out where none is, and offers nothing on a
// free place; the name box keeps its own menu below the offer.
TEST_F(ReplayWindow, TheRankingOffersAKeptReplayOnItsRow) {
  ModalWatcher boxes([](QWidget&) {});
  Replay replay = PlayAGame();
  ASSERT_TRUE(WaitForMenu());
  replay.name = "Taro";
  replay.score = 500;
  RestartWith([&] {
    ASSERT_TRUE(WriteFile(kHiScoreFileName,
                          "500,300,0,0,0,0,0,0,0,0\r\nTaro\r\nHanako\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(kReplayFolder)));
    const std::string bytes = WriteReplay(replay);
    ASSERT_TRUE(WriteFile(QString::fromStdString(RankReplayName(1)),
                          QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))));
  });
  Window().Command(1).click();
  Form2Widget* ranking = host->RankingWindow();
  ASSERT_NE(ranking, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ranking->isVisible(); }, 5000));

  // Right-clicks as the window system sends them, on a cell of the row.
  const auto rightClick = [](QWidget& cell) -> QMenu* {
    const QPoint at = cell.rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, cell.mapToGlobal(at));
    QApplication::sendEvent(&cell, &event);
    QMenu* menu = nullptr;
    WaitUntil(
        [&] {
          menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
          return menu != nullptr;
        },
        500);
    return menu;
  };
  const auto offer = [](QMenu* menu) -> QAction* {
    if (menu == nullptr || menu->actions().isEmpty()) return nullptr;
    QAction* first = menu->actions().constFirst();
    return first->text() == QString::fromUtf8(Form2Widget::kWatchCaption) ? first : nullptr;
  };
  const auto close = [](QMenu* menu) {
    if (menu != nullptr) menu->close();
    QCoreApplication::processEvents();
  };

  // Rank 3 is a free place: no menu.
  QMenu* menu = rightClick(ranking->Label1(2));
  EXPECT_EQ(menu, nullptr);
  close(menu);
  // Rank 2 keeps no replay: the offer, greyed out; its name box's own
  // menu goes on below it.
  menu = rightClick(ranking->Text1(1));
  ASSERT_NE(offer(menu), nullptr);
  EXPECT_FALSE(offer(menu)->isEnabled());
  EXPECT_GT(menu->actions().size(), 3) << "the name box lost its own menu";
  close(menu);
  // Rank 1's replay is kept: chosen, it plays in the game window.
  menu = rightClick(ranking->Label2(0));
  ASSERT_NE(offer(menu), nullptr);
  EXPECT_TRUE(offer(menu)->isEnabled());
  offer(menu)->trigger();
  close(menu);
  ASSERT_TRUE(WaitUntil([this] { return Watching(); }, 2000));
  EXPECT_EQ(host->Watching()->Watched().name, "Taro");
  EXPECT_TRUE(Caption().contains(QStringLiteral("Taro"))) << Caption().toStdString();
  // With the focus still in the ranking window, its Esc stops the replay.
  PressKey(*ranking, Qt::Key_Escape);
  EXPECT_FALSE(Watching());
  EXPECT_EQ(host->RankingWindow(), ranking) << "the ranking window went";
}

// A damaged, cut, foreign or newer file is told in a box that names what is
// wrong; nothing plays, and the game and its score file go on untouched.
TEST_F(ReplayWindow, AFileThatIsNoPlayableReplayIsTold) {
  RestartWith([] { ASSERT_TRUE(WriteFile(kHiScoreFileName, kLowTable)); });
  QString told;
  ModalWatcher boxes([&](QWidget& box) {
    if (auto* message = qobject_cast<QMessageBox*>(&box);
        message != nullptr && message->windowTitle() == QString::fromUtf8(QtHost::kWatchBoxTitle)) {
      told = message->text();
    }
  });
  const Replay replay = PlayAGame();
  ASSERT_TRUE(WaitForMenu());
  const QByteArray table = ReadFile(kHiScoreFileName);
  const std::string whole = WriteReplay(replay);
  std::string newer = whole;
  newer.replace(0, 17, "PELLMORA-REPLAY 9");
  std::string damaged = whole;
  damaged[damaged.size() - 3] ^= 0x5a;  // the final checksum
  const struct {
    const char* file;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"cut.pellmora-replay", whole.substr(0, whole.size() - 10), "cut short"},
      {"newer.pellmora-replay", newer, "newer"},
      {"foreign.pellmora-replay", "GIF89a\x01\x00", "not a Pellmora replay"},
      {"missing.pellmora-replay", "", "missing.pellmora-replay"},
      {"damaged.pellmora-replay", damaged, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    if (!c.bytes.empty()) {
      ASSERT_TRUE(WriteFile(c.file, QByteArray(c.bytes.data(), qsizetype(c.bytes.size()))));
    }
    told.clear();
    const int seen = boxes.Seen();
    // A damaged event stream plays up to the damage, then stops and says so.
    if (host->WatchFile(c.file)) {
      ASSERT_TRUE(WaitUntil([this] { return !Watching(); }, 30000));
    }
    EXPECT_FALSE(Watching());
    EXPECT_EQ(boxes.Seen(), seen + 1);
    EXPECT_FALSE(told.isEmpty()) << "no box titled " << QtHost::kWatchBoxTitle;
    EXPECT_TRUE(told.contains(QString::fromUtf8(c.says))) << told.toStdString();
    EXPECT_TRUE(MenuUp());
    EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&Game()));
  }
  EXPECT_EQ(ReadFile(kHiScoreFileName), table);
  Window().Command(0).click();
  EXPECT_EQ(Game().playing, VbTrue);
}

}  // namespace
}  // namespace pellmora
