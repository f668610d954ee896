// Careless play at the real window: keys mashed at random, every button
// clicked in every state (hidden ones by the mouse at their places), the
// ranking window opened and closed around games, junk typed into the name
// prompt. The program must keep running and its state must stay whole.
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>

#include "PlayTestSupport.h"

namespace pellmora {

namespace {

using playtest::ClickAt;
using playtest::ReadFile;
using playtest::RunFor;
using playtest::SendKey;
using playtest::Visible;
using playtest::WriteFile;

constexpr int kMashKeys[] = {Qt::Key_Escape, Qt::Key_Escape, Qt::Key_Escape, Qt::Key_Up,
                             Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right,  Qt::Key_A,
                             Qt::Key_Z,      Qt::Key_Q,      Qt::Key_5,      Qt::Key_Space,
                             Qt::Key_Return, Qt::Key_Tab,    Qt::Key_F1,     Qt::Key_Shift};
constexpr int kArrows[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};

// Names a careless player might give: empty, blanks, separators of the
// file, characters the file's code page lacks, control characters, a very
// long one.
const char* const kJunkNames[] = {"",       "   ",  "a,b,\"c\"", "🎮🎮",   "\t\x01x",
                                  "ＡＢＣ", "〜−‖", "名無し",    "\\\\n"};

// The score file after any save: eleven CR LF lines, ten scores from best
// to worst on the first.
::testing::AssertionResult WholeScoreFile(const QByteArray& bytes) {
  if (bytes.count("\r\n") != 11 || bytes.count('\r') != 11 || bytes.count('\n') != 11 ||
      !bytes.endsWith("\r\n")) {
    return ::testing::AssertionFailure() << "not eleven CR LF lines: " << bytes.toHex().data();
  }
  const QList<QByteArray> scores = bytes.left(bytes.indexOf("\r\n")).split(',');
  if (scores.size() != 10) return ::testing::AssertionFailure() << "not ten scores";
  int previous = 32767;
  for (const QByteArray& field : scores) {
    bool ok = false;
    const int value = field.toInt(&ok);
    if (!ok || value < 0 || value > previous) {
      return ::testing::AssertionFailure() << "scores out of order: " << bytes.data();
    }
    previous = value;
  }
  return ::testing::AssertionSuccess();
}

class BadInput : public qthosttest::StartedHost {
 protected:
  void SetUp() override {
    StartedHost::SetUp();
    if (HasFatalFailure()) return;
    // An empty table: every game that scores asks for a name.
    QByteArray empty("0,0,0,0,0,0,0,0,0,0\r\n");
    for (int i = 0; i < 10; ++i) empty += "\r\n";
    ASSERT_TRUE(WriteFile(kHiScoreFileName, empty));
    Restart();
  }

  void Restart() {
    host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    host = std::make_unique<QtHost>();
    host->Start();
  }

  bool Running(const Timer& timer) { return host->Session().Timers().Running((timer).Id()); }
  // The title is over once its timer has stopped for good (phase 5 runs one
  // more tick before it stops the timer and shows the menu).
  bool TitleOver() { return !Running(Game().Timer1); }
  bool AtMenu() { return Game().playing == VbFalse && TitleOver(); }
  bool Paused() { return Game().playing == VbTrue && !Running(Game().Timer2); }

  // The state as a line, for the failure messages.
  std::string Describe() {
    std::ostringstream out;
    out << "step " << step_ << " (" << lastAction_ << "): playing " << Game().playing
        << ", pausing " << Game().pausing << ", title phase " << Game().titlePhase << ", timers "
        << Running(Game().Timer1) << Running(Game().Timer2) << Running(Game().Timer3)
        << Running(Game().Timer4) << ", banner " << Game().Label2.Visible << "@"
        << Game().Label2.Top << ", buttons " << Game().Command1.Visible << Game().Command2.Visible
        << Game().Command3.Visible;
    return out.str();
  }

  void CheckInvariants() {
    SCOPED_TRACE(Describe());
    ASSERT_FALSE(host->Ended());
    ASSERT_TRUE(Window().isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a box was left open";
    Form1& game = Game();
    ASSERT_TRUE(game.playing == VbTrue || game.playing == VbFalse);
    ASSERT_TRUE(game.pausing == VbTrue || game.pausing == VbFalse);
    for (int16_t active : game.itemActive) ASSERT_TRUE(active == VbTrue || active == VbFalse);
    ASSERT_GE(game.score, 0);

    // The game's timers and the Qt timers behind them agree.
    for (const Timer* timer : {&game.Timer1, &game.Timer2, &game.Timer3, &game.Timer4}) {
      ASSERT_EQ(timer->Enabled(), Running(*timer)) << "timer " << timer->Id();
    }
    ASSERT_TRUE(game.titlePhase >= 0 && game.titlePhase <= 5);
    if (TitleOver()) {
      ASSERT_EQ(game.titlePhase, 5);
    }
    // Tick and spawner run together, exactly while a game runs unpaused.
    ASSERT_EQ(Running(game.Timer2), Running(game.Timer4));
    if (game.playing == VbFalse) {
      ASSERT_FALSE(Running(game.Timer2));
      ASSERT_FALSE(Running(game.Timer3));
    }
    if (Running(game.Timer2)) {
      ASSERT_FALSE(Running(game.Timer3));
    }
    if (Paused()) {
      // The banner is on its way or at rest, on its 15-pixel steps, and the
      // slide timer runs exactly while it moves.
      ASSERT_TRUE(game.Label2.Visible);
      const int top = static_cast<int>(game.Label2.Top);
      ASSERT_EQ(static_cast<float>(top), game.Label2.Top);
      ASSERT_GE(top, 150);
      ASSERT_LE(top, 480);
      ASSERT_EQ((480 - top) % 15, 0);
      const bool moving = game.pausing == VbTrue ? top > 152 : top < 480;
      ASSERT_EQ(Running(game.Timer3), moving);
    }

    // The menu buttons show exactly at the menu.
    const bool menu = AtMenu();
    const bool shown[3] = {game.Command1.Visible, game.Command2.Visible, game.Command3.Visible};
    for (int n = 0; n < 3; ++n) {
      ASSERT_EQ(shown[n], menu) << "button " << n + 1;
      ASSERT_EQ(Visible(Window().Command(n), Window()), menu) << "button " << n + 1;
    }

    // The ranking window is loaded exactly while it is on screen.
    ASSERT_EQ(host->Session().Form2() != nullptr, host->RankingWindow() != nullptr);
    if (host->RankingWindow() != nullptr) {
      ASSERT_TRUE(host->RankingWindow()->isVisible());
    }
  }

  // Sees every box that opens and closes it roughly: junk typed into the
  // name prompt, keys at the boxes, any of their ways out.
  void HandleBox(QWidget& widget) {
    ++boxes_;
    {
      SCOPED_TRACE(Describe());
      // The game is over while a box is up: nothing runs behind it.
      EXPECT_EQ(Game().playing, VbFalse);
      EXPECT_FALSE(Running(Game().Timer2));
      EXPECT_FALSE(Running(Game().Timer4));
      EXPECT_FALSE(Running(Game().Timer3));
      EXPECT_FALSE(Visible(Window().Command(0), Window()));
    }
    const int keyDowns = host->Session().KeyDownsDelivered();
    for (int i = 0; i < 3; ++i) {
      SendKey(playtest::EventTarget(widget), QEvent::KeyPress, kArrows[Pick(4)]);
      SendKey(playtest::EventTarget(widget), QEvent::KeyPress, Qt::Key_Z, false,
              QStringLiteral("z"));
    }
    EXPECT_EQ(host->Session().KeyDownsDelivered(), keyDowns) << "keys at a box reached the game";

    if (auto* input = qobject_cast<QInputDialog*>(&widget)) {
      ++prompts_;
      promptBeforeBox_ = true;
      auto* edit = input->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      edit->clear();
      QInputMethodEvent composed;
      QString name = QString::fromUtf8(kJunkNames[Pick(std::size(kJunkNames))]);
      if (Pick(4) == 0) name = QString(300, QChar(0x9577));  // a very long name
      composed.setCommitString(name);
      QApplication::sendEvent(edit, &composed);
      auto* buttons = input->findChild<QDialogButtonBox*>();
      ASSERT_NE(buttons, nullptr);
      switch (Pick(4)) {
        case 0:
          SendKey(playtest::EventTarget(*input), QEvent::KeyPress, Qt::Key_Return);
          break;
        case 1:
          SendKey(playtest::EventTarget(*input), QEvent::KeyPress, Qt::Key_Escape);
          break;
        case 2: {
          QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
          ClickAt(*input, cancel->mapTo(input, cancel->rect().center()));
          break;
        }
        default: {
          QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
          ClickAt(*input, ok->mapTo(input, ok->rect().center()));
          break;
        }
      }
      EXPECT_FALSE(input->isVisible()) << "the prompt stayed open";
    } else if (auto* box = qobject_cast<QMessageBox*>(&widget)) {
      ++gameOvers_;
      // While the list has a free place, every score above 0 asked for a
      // name first, and no other did.
      if (prompts_ - (promptBeforeBox_ ? 1 : 0) < 10) {
        EXPECT_EQ(promptBeforeBox_, Game().score > 0) << "score " << Game().score;
      }
      promptBeforeBox_ = false;
      EXPECT_EQ(box->windowTitle(), QString::fromUtf8("ゲームオーバー"));
      EXPECT_EQ(box->text(), QString::fromUtf8("あなたの得点は%1点でした。").arg(Game().score));
      switch (Pick(3)) {
        case 0:
          SendKey(playtest::EventTarget(*box), QEvent::KeyPress, Qt::Key_Escape);
          break;
        case 1:
          SendKey(playtest::EventTarget(*box), QEvent::KeyPress, Qt::Key_Return);
          break;
        default: {
          QAbstractButton* ok = box->buttons().front();
          ClickAt(*box, ok->mapTo(box, ok->rect().center()));
          break;
        }
      }
      EXPECT_FALSE(box->isVisible()) << "the score box stayed open";
    } else {
      ADD_FAILURE() << "an unexpected box: " << widget.metaObject()->className();
    }
  }

  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

  // Where the window system would hand a key: the game window, the window
  // that has the keyboard focus, or the ranking window.
  QObject* AnyKeyTarget() {
    switch (Pick(3)) {
      case 0:
        if (QWindow* focus = QGuiApplication::focusWindow()) return focus;
        break;
      case 1:
        if (Form2Widget* form2 = host->RankingWindow()) return playtest::EventTarget(*form2);
        break;
      default:
        break;
    }
    return playtest::EventTarget(Window());
  }

  void MashKeys() {
    const int count = 1 + static_cast<int>(Pick(3));
    for (int i = 0; i < count; ++i) {
      const int key = kMashKeys[Pick(std::size(kMashKeys))];
      QObject* target = AnyKeyTarget();
      const QString text = key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(key)) : QString();
      lastAction_ += " " + QKeySequence(key).toString().toStdString();
      SendKey(target, QEvent::KeyPress, key, false, text);
      // A held key's repeats.
      const int repeats = key == Qt::Key_Escape ? static_cast<int>(Pick(8)) : 0;
      for (int r = 0; r < repeats; ++r) SendKey(target, QEvent::KeyPress, key, true);
      if (Pick(4) != 0) SendKey(target, QEvent::KeyRelease, key, false, text);
    }
  }

  void AllArrows() {
    for (int key : kArrows) SendKey(playtest::EventTarget(Window()), QEvent::KeyPress, key);
    RunFor(20 + static_cast<int>(Pick(150)));
    for (int key : kArrows) SendKey(playtest::EventTarget(Window()), QEvent::KeyRelease, key);
  }

  // Button n: clicked when it shows, by click() or by the mouse; when it is
  // hidden, the mouse at its place must do nothing at all.
  void ClickButton(std::size_t n) {
    QPushButton& button = Window().Command(static_cast<int>(n));
    const QPoint place = button.geometry().center();
    if (!Visible(button, Window())) {
      ++hiddenClicks_;
      const Form1& game = Game();
      const float ball[2] = {game.Image5.Left, game.Image5.Top};
      const int16_t playing = game.playing;
      const int16_t score = game.score;
      const bool ticking = Running(game.Timer2);
      Form2Widget* const ranking = host->RankingWindow();
      ClickAt(Window(), place);
      SCOPED_TRACE(Describe());
      EXPECT_FALSE(host->Ended()) << "a hidden button acted";
      EXPECT_EQ(game.playing, playing);
      EXPECT_EQ(game.score, score);
      EXPECT_EQ(Running(game.Timer2), ticking);
      EXPECT_EQ(game.Image5.Left, ball[0]);
      EXPECT_EQ(game.Image5.Top, ball[1]);
      EXPECT_EQ(host->RankingWindow(), ranking);
      return;
    }
    ++shownClicks_[n];
    // Thrown in from the bottom right, the ball meets the top paddle at its
    // design place, so that games score now and then.
    if (n == 0) {
      host->Session().Random().Queue(2.5 / 4);
      host->Session().Random().Queue((static_cast<double>(Pick(64)) + 0.5) / 64);
    }
    if (Pick(2) == 0) {
      button.click();
    } else {
      ClickAt(Window(), place);
    }
  }

  void RankingWindowAction() {
    Form2Widget* form2 = host->RankingWindow();
    if (form2 == nullptr) return;
    if (Game().playing == VbTrue) ++rankingClosedInPlay_;
    switch (Pick(3)) {
      case 0:
        form2->Command1().click();
        break;
      case 1:
        ClickAt(*form2, form2->Command1().geometry().center());
        break;
      default:
        form2->close();
        break;
    }
    EXPECT_EQ(host->RankingWindow(), nullptr) << Describe();
  }

  // After a quit or a closed game window: everything stopped, then a fresh
  // start in the same folder.
  void CheckEndedAndRestart() {
    EXPECT_EQ(host->ExitCode(), 0);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(host->Session().Form2(), nullptr);
    for (const Timer* timer : {&Game().Timer1, &Game().Timer2, &Game().Timer3, &Game().Timer4}) {
      EXPECT_FALSE(Running(*timer)) << timer->Id();
    }
    ++restarts_;
    Restart();
  }

  void Step() {
    const bool menu = AtMenu();
    const bool playing = Game().playing == VbTrue;
    if (!TitleOver()) ++visits_[0];
    if (menu) ++visits_[1];
    if (playing && !Paused()) ++visits_[2];
    if (Paused()) ++visits_[3];
    if (playing && host->RankingWindow() != nullptr) ++rankingOpenInPlay_;

    // Lean towards what moves the game on: start at the menu, mostly waiting
    // in play so that balls get lost, Esc often during a pause.
    const std::size_t roll = Pick(100);
    const bool running = playing && !Paused();
    if (menu && roll < 30) {
      lastAction_ = "start";
      ClickButton(0);
    } else if (menu && roll < 42) {
      lastAction_ = "ranking";
      ClickButton(1);
    } else if (menu && (roll < 44 || (shownClicks_[2] == 0 && gameOvers_ > 0)) &&
               (restarts_ < 2 || shownClicks_[2] == 0)) {
      // Quit once for sure, after a game; the restart brings the title back.
      lastAction_ = "quit";
      ClickButton(2);
    } else if (Paused() && roll < 30) {
      lastAction_ = "Esc";
      SendKey(AnyKeyTarget(), QEvent::KeyPress, Qt::Key_Escape);
      SendKey(AnyKeyTarget(), QEvent::KeyRelease, Qt::Key_Escape);
    } else if (roll < (running ? 58 : 60)) {
      lastAction_ = "keys";
      if (!running || Pick(8) == 0) MashKeys();
    } else if (roll < 66) {
      lastAction_ = "all arrows";
      AllArrows();
    } else if (roll < 76) {
      lastAction_ = "any button";
      const std::size_t n = Pick(3);
      if (n != 2 || !Visible(Window().Command(2), Window()) || restarts_ < 2) ClickButton(n);
    } else if (roll < 81 || (playing && rankingClosedInPlay_ == 0 && roll < 90)) {
      lastAction_ = "ranking window";
      RankingWindowAction();
    } else if (roll < 82 && restarts_ < 2) {
      lastAction_ = "close the game window";
      Window().close();
    } else {
      lastAction_ = "wait";
      RunFor(10 + static_cast<int>(Pick(250)));
    }
    if (host->Ended()) {
      CheckEndedAndRestart();
      return;
    }
    CheckInvariants();
  }

  std::mt19937 random_{20240611};
  int step_ = 0;
  std::string lastAction_ = "none";
  int visits_[4] = {};  // title, menu, play, pause
  int boxes_ = 0;
  int prompts_ = 0;
  bool promptBeforeBox_ = false;
  int gameOvers_ = 0;
  int hiddenClicks_ = 0;
  int shownClicks_[3] = {};
  int rankingOpenInPlay_ = 0;
  int rankingClosedInPlay_ = 0;
  int restarts_ = 0;
};

// The menu buttons are hidden during play, and keys must not reach them: the
// player who started with the mouse or the keyboard and then presses Space or
// Return in play neither quits nor starts the game afresh.
class HiddenButtons : public playtest::MenuHost {};

TEST_F(HiddenButtons, KeysInPlayPressNoHiddenButton) {
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE("focus on button " + std::to_string(n + 1) + " before the start");
    if (n > 0) {
      RestartWith([] {});
      ASSERT_FALSE(HasFatalFailure());
    }
    // The focus on a button, as Tab leaves it; then the start, by the mouse.
    Window().Command(n).setFocus();
    ClickAt(Window(), Window().Command(0).geometry().center());
    ASSERT_EQ(Game().playing, VbTrue);
    MakePaddlesSafe();
    Game().score = 42;
    for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
      const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r");
      SendKey(playtest::EventTarget(Window()), QEvent::KeyPress, key, false, text);
      SendKey(playtest::EventTarget(Window()), QEvent::KeyRelease, key, false, text);
    }
    ASSERT_FALSE(host->Ended()) << "a key in play quit the game";
    EXPECT_EQ(Game().playing, VbTrue);
    EXPECT_EQ(Game().score, 42) << "a key in play started a new game";
    EXPECT_TRUE(host->Session().Timers().Running((Game().Timer2).Id()));
    EXPECT_EQ(host->Session().Form2(), nullptr) << "a key in play opened the ranking";

    // The same during a pause.
    SendKey(playtest::EventTarget(Window()), QEvent::KeyPress, Qt::Key_Escape);
    SendKey(playtest::EventTarget(Window()), QEvent::KeyRelease, Qt::Key_Escape);
    ASSERT_FALSE(host->Session().Timers().Running((Game().Timer2).Id()));
    SendKey(playtest::EventTarget(Window()), QEvent::KeyPress, Qt::Key_Space, false,
            QStringLiteral(" "));
    SendKey(playtest::EventTarget(Window()), QEvent::KeyRelease, Qt::Key_Space, false,
            QStringLiteral(" "));
    ASSERT_FALSE(host->Ended()) << "a key in the pause quit the game";
    EXPECT_EQ(Game().score, 42) << "a key in the pause started a new game";
    EXPECT_FALSE(host->Session().Timers().Running((Game().Timer2).Id()))
        << "the pause was cut short";
  }
}

TEST_F(BadInput, MashingKeysAndButtonsNeverBreaksTheGame) {
  playtest::ModalWatcher watcher([this](QWidget& box) { HandleBox(box); });
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 25000 && !HasFatalFailure()) {
    ++step_;
    Step();
  }
  ASSERT_FALSE(HasFatalFailure());
  for (int key : kArrows) SendKey(&Window(), QEvent::KeyRelease, key);

  std::ostringstream seen;
  seen << step_ << " steps; title " << visits_[0] << ", menu " << visits_[1] << ", play "
       << visits_[2] << ", pause " << visits_[3] << "; boxes " << boxes_ << " (prompts " << prompts_
       << ", game overs " << gameOvers_ << "); hidden clicks " << hiddenClicks_ << "; shown clicks "
       << shownClicks_[0] << "/" << shownClicks_[1] << "/" << shownClicks_[2]
       << "; ranking open in play " << rankingOpenInPlay_ << ", closed in play "
       << rankingClosedInPlay_ << "; restarts " << restarts_;
  SCOPED_TRACE(seen.str());
  std::printf("%s\n", seen.str().c_str());
  // Every state was met.
  for (int visits : visits_) EXPECT_GT(visits, 0);
  EXPECT_GT(gameOvers_, 0);
  EXPECT_GT(prompts_, 0);
  EXPECT_GT(hiddenClicks_, 0);
  EXPECT_GT(shownClicks_[0], 0);
  EXPECT_GT(shownClicks_[1], 0);
  EXPECT_GT(shownClicks_[2], 0);
  EXPECT_GT(rankingOpenInPlay_, 0);
  EXPECT_GT(rankingClosedInPlay_, 0);
  EXPECT_EQ(boxes_, watcher.Seen());

  // Whatever was typed, the score file is whole and the game reads it back.
  const QByteArray saved = ReadFile(kHiScoreFileName);
  EXPECT_TRUE(WholeScoreFile(saved));
  const QList<QByteArray> scores = saved.left(saved.indexOf("\r\n")).split(',');
  EXPECT_EQ(std::count_if(scores.begin(), scores.end(),
                          [](const QByteArray& field) { return field != "0"; }),
            std::min(prompts_, 10))
      << "one entry for each name asked";
  Restart();
  ASSERT_FALSE(host->Ended()) << "the saved file could not be read back";
  EXPECT_EQ(std::to_string(Game().hiScoreTable.hiScores[0]), saved.left(saved.indexOf(',')).toStdString());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace

}  // namespace pellmora
