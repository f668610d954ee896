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
#include <optional>

#include "PlayTestSupport.h"
#include "game/Int16.h"
#include "play/ReplayCheck.h"
#include "play/ReplayShelf.h"

namespace pellmora {
namespace {

using playtest::ModalWatcher;
using playtest::PressKey;
using playtest::ReadFile;
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
    RunFor(1000);
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
// speeds it up, and at its end the menu is back, with no box and the score
// file and the kept replays as they were. A damaged, cut, foreign, newer or
// missing file is told by what is wrong. A right-click on a rank's row
// offers a kept replay, greys the offer out where none is kept and offers
// nothing on a free place. A game in play waits paused, its clock stopped,
// until the player's own Esc.
TEST_F(ReplayWindow, AGameIsWatchedInTheWindowAsItWasPlayed) {
  ASSERT_TRUE(
      WriteFile(kHiScoreFileName,
                "500,300,0,0,0,0,0,0,0,0\r\nTaro\r\nHanako\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
  Game().LoadHiScores();
  QString told;  // the last watch box's text
  ModalWatcher boxes([&](QWidget& box) {
    if (auto* message = qobject_cast<QMessageBox*>(&box);
        message != nullptr && message->windowTitle() == QString::fromUtf8(QtHost::kWatchBoxTitle)) {
      told = message->text();
    }
  });
  const Replay replay = PlayAGame();
  ASSERT_TRUE(WaitForMenu());
  const auto kept = [] {
    QByteArray all = ReadFile(kHiScoreFileName);
    const QDir folder(QString::fromUtf8(kReplayFolder));
    for (const QString& name : folder.entryList(QDir::Files))
      all += ReadFile(folder.filePath(name));
    return all;
  };
  const QByteArray keptBefore = kept();
  ASSERT_FALSE(ReadFile(QString::fromStdString(LastReplayName())).isEmpty());
  const int boxesBefore = boxes.Seen();
  const std::string sessionCaption = Game().Caption;

  ASSERT_TRUE(host->Watch(replay));
  ASSERT_TRUE(Watching());
  const Form1& watched = host->Watching()->Game();
  EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&watched));
  // The start button's event falls due at once, or a millisecond later.
  ASSERT_TRUE(WaitUntil([&] { return watched.playing == VbTrue; }, 1000));
  EXPECT_FALSE(Visible(Window().Command(0), Window())) << "the menu shows over a replay in play";
  const QString name = QString::fromStdString(replay.name.empty() ? "名前なし" : replay.name);
  EXPECT_TRUE(Caption().startsWith(QStringLiteral("リプレイ再生中 - ") + name))
      << Caption().toStdString();
  // Space holds the picture, and again lets it go on.
  PressKey(Window(), Qt::Key_Space);
  ASSERT_TRUE(host->Watching()->Paused());
  EXPECT_TRUE(Caption().contains(QStringLiteral("一時停止"))) << Caption().toStdString();
  const std::uint32_t held = GameSnapshot::Of(watched).Checksum();
  RunFor(200);
  EXPECT_EQ(GameSnapshot::Of(watched).Checksum(), held) << "the paused replay moved";
  PressKey(Window(), Qt::Key_Space);
  EXPECT_FALSE(host->Watching()->Paused());
  // The right arrow: four times as fast.
  PressKey(Window(), Qt::Key_Right);
  EXPECT_TRUE(host->Watching()->Fast());
  EXPECT_TRUE(Caption().contains(QStringLiteral("4倍速"))) << Caption().toStdString();

  // The last picture stays a moment: the watched game's own score, its ball
  // drawn where that game left it.
  ASSERT_TRUE(WaitUntil([this] { return !Watching() || host->Watching()->Finished(); }, 20000));
  ASSERT_TRUE(Watching()) << "the end was not shown";
  EXPECT_EQ(host->Watching()->Problem(), "");
  EXPECT_EQ(watched.score, replay.score);
  EXPECT_EQ(watched.playing, VbFalse);
  const QRect ball = playtest::RectOf(watched.Image5) & QRect(0, 0, 640, 480);
  if (!ball.isEmpty()) {
    EXPECT_GT(playtest::CountColour(Shot(), ball, playtest::kBallYellow), 0);
  }
  ASSERT_TRUE(WaitUntil([this] { return !Watching(); }, 5000));
  EXPECT_TRUE(MenuUp());
  EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&Game()));
  EXPECT_EQ(Caption().toStdString(), sessionCaption);
  EXPECT_EQ(boxes.Seen(), boxesBefore) << "watching asked or told something";
  EXPECT_TRUE(told.isEmpty());

  // Files that are no replay to play.
  const std::string whole = WriteReplay(replay);
  std::string newer = whole;
  newer.replace(0, 17, "PELLMORA-REPLAY 9");
  Replay changed = replay;
  changed.events[changed.events.size() - 3] ^= 0x5a;  // the final checksum
  const std::string damaged = WriteReplay(changed);
  const struct {
    const char* file;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"cut.pellmora-replay", whole.substr(0, whole.size() - 10), "cut short"},
      {"newer.pellmora-replay", newer, "format 9, newer"},
      {"foreign.pellmora-replay", "GIF89a", "not a Pellmora replay"},
      {"missing.pellmora-replay", "", "「missing.pellmora-replay」を読み込めませんでした"},
      {"damaged.pellmora-replay", damaged, "differs"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    if (!c.bytes.empty()) {
      ASSERT_TRUE(WriteFile(c.file, QByteArray(c.bytes.data(), qsizetype(c.bytes.size()))));
    }
    told.clear();
    // A damaged event stream plays up to the damage, then stops and says so.
    if (host->WatchFile(c.file)) {
      PressKey(Window(), Qt::Key_Right);
      ASSERT_TRUE(WaitUntil([this] { return !Watching(); }, 20000));
    }
    EXPECT_TRUE(told.contains(QString::fromUtf8(c.says))) << told.toStdString();
    EXPECT_TRUE(MenuUp());
    EXPECT_EQ(&Window().Shown(), static_cast<const Form1Controls*>(&Game()));
  }
  EXPECT_EQ(kept(), keptBefore) << "watching changed the score file or the kept replays";

  // The ranking: Taro's game is kept as rank 1's, Hanako's is not, rank 10
  // is free.
  Replay taros = replay;
  taros.name = "Taro";
  taros.score = 500;
  const std::string taroBytes = WriteReplay(taros);
  ASSERT_TRUE(WriteFile(QString::fromStdString(RankReplayName(1)),
                        QByteArray(taroBytes.data(), qsizetype(taroBytes.size()))));
  Window().Command(1).click();
  Form2Widget* ranking = host->RankingWindow();
  ASSERT_NE(ranking, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ranking->isVisible(); }, 5000));
  // Right-clicks as the window system sends them, on a cell of the row; the
  // offer heads the menu.
  const auto offerOn = [](QWidget& cell, int* actions = nullptr) -> std::optional<bool> {
    const QPoint at = cell.rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, cell.mapToGlobal(at));
    QApplication::sendEvent(&cell, &event);
    QMenu* menu = nullptr;
    WaitUntil(
        [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
        300);
    if (menu == nullptr) return std::nullopt;
    const QAction* first = menu->actions().value(0);
    std::optional<bool> offered;
    if (first != nullptr && first->text() == QString::fromUtf8(Form2Widget::kWatchCaption)) {
      offered = first->isEnabled();
      if (offered.value()) menu->actions().constFirst()->trigger();
    }
    if (actions != nullptr) *actions = int(menu->actions().size());
    menu->close();
    QCoreApplication::processEvents();
    return offered;
  };
  EXPECT_EQ(offerOn(ranking->Label1(9)), std::nullopt) << "a free place offers a game";
  int boxActions = 0;
  EXPECT_EQ(offerOn(ranking->Text1(1), &boxActions), std::optional<bool>(false));
  EXPECT_GT(boxActions, 3) << "the name box lost its own menu";
  EXPECT_EQ(offerOn(ranking->Label2(0)), std::optional<bool>(true));
  ASSERT_TRUE(WaitUntil([this] { return Watching(); }, 2000));
  EXPECT_EQ(host->Watching()->Watched().name, "Taro");
  EXPECT_TRUE(Caption().contains(QStringLiteral("Taro (500点)"))) << Caption().toStdString();
  // With the focus still in the ranking window, its Esc stops the replay.
  PressKey(*ranking, Qt::Key_Escape);
  EXPECT_FALSE(Watching());
  EXPECT_EQ(host->RankingWindow(), ranking) << "the ranking window went";

  // A game in play waits paused under a replay, its clock standing still.
  Window().Command(0).click();
  ASSERT_EQ(Game().playing, VbTrue);
  MakePaddlesSafe();
  ASSERT_TRUE(host->Watch(replay));
  EXPECT_EQ(Game().pausing, VbTrue);
  EXPECT_FALSE(Game().Timer2.Enabled());
  const std::int64_t bannerTicks = Timers().Fired(3);
  RunFor(300);
  EXPECT_EQ(Timers().Fired(3), bannerTicks) << "the game's clock ran under the replay";
  PressKey(Window(), Qt::Key_Escape);
  ASSERT_FALSE(Watching());
  // The banner rises on, and only the player's Esc resumes the game.
  ASSERT_TRUE(WaitUntil([this] { return !Game().Timer3.Enabled(); }, 3000));
  EXPECT_EQ(Game().playing, VbTrue);
  EXPECT_FALSE(Game().Timer2.Enabled());
  PressKey(Window(), Qt::Key_Escape);
  EXPECT_TRUE(WaitUntil([this] { return Game().Timer2.Enabled(); }, 3000));
}

}  // namespace
}  // namespace pellmora
