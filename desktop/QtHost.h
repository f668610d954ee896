// The desktop host: the game window on Qt, the message and input boxes, the
// files of the working directory and the ranking window. It turns Qt's
// events into calls on the play session, wakes it when a timer falls due,
// and draws.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string>

#include "desktop/Form1Widget.h"
#include "desktop/Form2Widget.h"
#include "desktop/GameFocus.h"
#include "desktop/Gamepad.h"
#include "desktop/Preferences.h"
#include "desktop/SaveWaiter.h"
#include "desktop/WindowZoom.h"
#include "desktop/WorldRankingClient.h"
#include "desktop/WorldRankingWidget.h"
#include "play/Frontend.h"
#include "play/PlaySession.h"
#include "play/Replay.h"
#include "play/ReplayPlayer.h"
#include "play/TimerDispatch.h"
#include "posix/PosixFileOps.h"

class QKeyEvent;

namespace pellmora {

class QtHost final : public QObject, public Frontend, public RealClock {
  Q_OBJECT

 public:
  // Builds the game window from its design values and starts the timers that
  // are enabled at design. Needs a QApplication.
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // The zoom, the whole screen and the pause on focus loss to start with.
  void SetPreferences(const Preferences& preferences);
  Preferences CurrentPreferences() const;

  // Lets game pads play along with the keyboard.
  void EnableGamepad();

  // Raises Form_Load, then shows the window centred on the screen at its
  // zoom, or on the whole screen.
  void Start();

  // Plays `replay` in the game window, as it was played; the game window's
  // own game waits meanwhile, a game in play paused as Esc pauses it. At
  // the replay's end, or at Esc, the window shows its own game again.
  // Nothing is asked and nothing is saved. A replay that cannot be played
  // is told in a box, and false returned.
  bool Watch(const Replay& replay);
  // The same for a replay file; a file that cannot be read, or is no
  // replay this game plays, is told in a box that names what is wrong.
  bool WatchFile(const std::string& path);
  // The replay playing in the window; nullptr when none is.
  const ReplayPlayer* Watching() const noexcept { return player_.get(); }
  // What the ranking window's row of rank 1..10 offers now: the entry's
  // kept replay, or nothing to watch.
  Form2Widget::WatchOffer WatchOfferFor(int rank);
  // Watches the kept replay of the ranking window's rank 1..10.
  bool WatchRank(int rank);
  static constexpr const char* kWatchBoxTitle = "リプレイ再生";

  // The world ranking (QtHostWorld.cpp). What the ranking window's row of
  // rank 1..10 (0 for none) offers of it now.
  Form2Widget::WorldOffer WorldOfferFor(int rank);
  // Sends the kept replay of the ranking window's rank 1..10 to the world
  // ranking; the server's answer is told in a box titled kWorldBoxTitle,
  // which waits for nothing.
  void SendRank(int rank);
  // Opens the world ranking window, or brings it to the front afresh.
  void ShowWorldRanking();
  // Downloads the world ranking's game `id` and watches it.
  void WatchWorldGame(std::int64_t id);
  WorldRankingWidget* WorldRankingWindow() noexcept { return worldWidget_; }
  static constexpr const char* kWorldBoxTitle = "世界ランキング";

  // True once the program has ended, by End or by an error; the status the
  // process should exit with.
  bool Ended() const noexcept { return ended_; }
  int ExitCode() const noexcept { return exitCode_; }

  // The host's parts: the game it plays, its windows (the ranking window
  // nullptr while it is not loaded), the zoom and the pads.
  PlaySession& Session() noexcept { return session_; }
  Form1Widget& Window() noexcept { return *window_; }
  Form2Widget* RankingWindow() noexcept { return form2Widget_; }
  WindowZoom& Zoom() noexcept { return zoom_; }
  Gamepad* Pad() noexcept { return gamepad_.get(); }

  // Frontend
  void MsgBox(const std::string& text, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;
  FileOps& Files() override { return files_; }
  void Form2Opened(Form2Controls& boxes) override;
  void Form2Raised() override;
  void Form2Changed(const Form2Controls& boxes) override;
  void Form2Closed() override;
  void ProgramEnded() override;
  void ProgramFailed(const char* what) override;
  void EventDone() override;

  // RealClock
  std::int64_t Now() override;
  void WakeAt(std::int64_t due) override;

 signals:
  // The player changed the zoom or the whole screen with the keys.
  void PreferencesChanged(const pellmora::Preferences& preferences);
  // The timers' wake-up has fired what was due (for the benchmarks' clocks).
  void Woke();
  // A replay stopped playing: the window shows its own game again.
  void WatchEnded();
  // A replay could not be watched, or not to its end, told in a box titled
  // kWatchBoxTitle; `why` in a line.
  void WatchRefused(const QString& why);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AfterEvent();
  // The title bar: the game's caption, or while a replay plays, the
  // player's words before the watched game's caption.
  void ShowCaption();
  // The ranking window's table as it shows it.
  bool ShownTable(HiScoreTable& table);
  // Plays what the replay has due, and sets the next wake-up.
  void WatchStep();
  void OnWatchKey(int virtualKey);
  void RefuseWatch(const std::string& text, const std::string& why);
  // Tells the player about the world ranking in a box that holds up nothing.
  void TellWorld(const QString& text);
  // Back to the window's own game; its clock runs on.
  void EndWatch();
  // A modal box holds up the event loop's painting until it closes: the
  // window shows, behind it, what the handler has done up to the box.
  void ShowCurrentFrame();
  void OnKeyPress(QObject* watched, const QKeyEvent& key);
  bool OnZoomKey(QObject* watched, const QKeyEvent& key);
  void PauseForFocusLoss();
  void Stop(int exitCode);
  void CloseRankingWindow();
  void CloseEverything();

  // Before the session: its timers read the clock and set the wake-up as
  // soon as it is built.
  QElapsedTimer clock_;
  QTimer wake_;
  PosixFileOps files_;
  WorldRankingClient world_;
  PlaySession session_;
  std::unique_ptr<Form1Widget> window_;
  SaveWaiter saveWaiter_{*window_};
  WindowZoom zoom_;
  GameFocus gameFocus_;
  std::unique_ptr<Gamepad> gamepad_;
  bool focusPause_ = true;
  // Focus lost while the banner slid away after the player's Esc: pause again
  // as soon as play resumes.
  bool pauseWhenResumed_ = false;
  // Deleted later: an unload can come from inside the window's own events.
  QPointer<Form2Widget> form2Widget_;
  QPointer<WorldRankingWidget> worldWidget_;
  std::string shownCaption_;  // what the title bar shows now
  // The replay playing, its wake-up, and whether its last picture is held
  // for a moment after its end.
  std::unique_ptr<ReplayPlayer> player_;
  QTimer watchWake_;
  bool holdingEnd_ = false;
  bool ended_ = false;
  int exitCode_ = 0;
};

}  // namespace pellmora
