// The real desktop host at work: time from process start to the first painted
// frame, the cost of painting one frame, the tick rate and its jitter while an
// autopilot plays through the keyboard, CPU use playing and at the menu, and
// peak memory. Prints one "name value" line per figure.
//   pellmora_bench_desktop [PLAY_SECONDS] [MENU_SECONDS] [scale3|fullscreen]
// With a display mode, only the play at that zoom is measured, its figures
// named after the mode.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/Fonts.h"
#include "desktop/QtHost.h"
#include "desktop/Translations.h"

using namespace pellmora;

namespace {

double MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// When this process started, on the same clock, from /proc.
double ProcessStartMs() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  std::size_t pos = text.rfind(')') + 2;  // after the command name
  // Field 22 (starttime) counts from field 3, the one at pos.
  for (int field = 3; field < 22; ++field) pos = text.find(' ', pos) + 1;
  const double ticks = std::strtod(text.c_str() + pos, nullptr);
  return ticks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
  return values[index];
}

void RunFor(double seconds) {
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

// Records the first paint of the game window.
class FirstFrame : public QObject {
 public:
  double paintedAt = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && paintedAt == 0) {
      QTimer::singleShot(0, this, [this] {
        if (paintedAt == 0) paintedAt = MonotonicMs();
      });
    }
    return QObject::eventFilter(watched, event);
  }
};

// Holds the arrow keys a player would hold to keep both pairs on the ball,
// by sending key events to the window like the keyboard does.
class KeyboardAutopilot {
 public:
  KeyboardAutopilot(QtHost& host) : host_(host) {}

  void Steer() {
    const Form1& form = host_.Session().Game();
    const double ballY = form.Image5.Top + form.Image5.Height / 2.0;
    const double pairY = form.Image1.Top + form.Image1.Height / 2.0;
    const double ballX = form.Image5.Left + form.Image5.Width / 2.0;
    const double pairX = form.Image3.Left + form.Image3.Width / 2.0;
    Hold(0, Qt::Key_Down, pairY < ballY - 2);
    Hold(1, Qt::Key_Up, pairY > ballY + 2);
    Hold(2, Qt::Key_Right, pairX < ballX - 2);
    Hold(3, Qt::Key_Left, pairX > ballX + 2);
  }

 private:
  void Hold(int slot, Qt::Key key, bool held) {
    if (held == held_[slot]) return;
    held_[slot] = held;
    QKeyEvent event(held ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&host_.Window(), &event);
  }

  QtHost& host_;
  bool held_[4] = {};
};

}  // namespace

int main(int argc, char* argv[]) {
  const double processStart = ProcessStartMs();
  const double playSeconds = argc > 1 ? std::atof(argv[1]) : 30;
  const double menuSeconds = argc > 2 ? std::atof(argv[2]) : 10;
  const std::string mode = argc > 3 ? argv[3] : "";
  if (!mode.empty() && mode != "scale3" && mode != "fullscreen" && mode != "norecord") {
    std::fprintf(stderr, "pellmora_bench_desktop: unknown display mode '%s'\n", mode.c_str());
    return 2;
  }

  QApplication app(argc, argv);
  translations::InstallJapanese();
  fonts::InstallSubstitutes();
  QtHost host;
  if (mode == "scale3") host.SetPreferences(Preferences{3, false, true, {}});
  if (mode == "fullscreen") host.SetPreferences(Preferences{1, true, true, {}});
  // Recording's cost: the same run with the recorder off, beside the usual.
  if (mode == "norecord") host.Session().RecordGames(false);
  FirstFrame firstFrame;
  host.Window().installEventFilter(&firstFrame);
  host.Start();
  // As the game runs: looking for game pads once the window is up.
  QTimer::singleShot(250, &host, [&host] { host.EnableGamepad(); });
  while (firstFrame.paintedAt == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double startupMs = firstFrame.paintedAt - processStart;

  Form1& form = host.Session().Game();
  while (!form.Command1.Visible) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

  // At the menu: nothing runs but the event loop.
  double cpu = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  RunFor(menuSeconds);
  const double menuCpu = 100.0 * (CpuSeconds() - cpu) / (wall.nsecsElapsed() / 1e9);

  // Painting one full frame of a field in play: paddles, ball, every panel.
  for (ScreenObject* shown :
       {&form.Image1, &form.Image2, &form.Image3, &form.Image4, &form.Image5}) {
    shown->Visible = true;
  }
  form.Label1.Visible = false;
  for (int k = 0; k < 6; ++k) {  // panels on the field, out of the ball's way
    form.Image6[k].Left = 80.0f + 90.0f * static_cast<float>(k % 3);
    form.Image6[k].Top = k < 3 ? 60.0f : 300.0f;
    form.Image6[k].Visible = true;
    form.itemActive[k] = 0;
  }
  std::vector<double> paintMs;
  for (int i = 0; i < 500; ++i) {
    QElapsedTimer t;
    t.start();
    host.Window().repaint();
    paintMs.push_back(t.nsecsElapsed() / 1e6);
  }
  // Park the panels off the field so that the speed stays where the autopilot keeps up.
  for (int k = 0; k < 6; ++k) {
    form.Image6[k].Left = -1000;
    form.Image6[k].Visible = false;
    form.itemActive[k] = -1;
  }

  // Play: count the ticks against the wall clock.
  host.Window().Command(0).click();
  KeyboardAutopilot autopilot(host);
  std::vector<double> tickAt;
  tickAt.reserve(static_cast<std::size_t>(playSeconds * 200) + 100);
  std::int64_t ticksSeen = host.Session().Timers().Fired(2);
  QObject::connect(&host, &QtHost::Woke, &app, [&] {
    const std::int64_t ticks = host.Session().Timers().Fired(2);
    if (ticks == ticksSeen) return;
    ticksSeen = ticks;
    tickAt.push_back(MonotonicMs());
    autopilot.Steer();
  });
  cpu = CpuSeconds();
  wall.restart();
  RunFor(playSeconds);
  const double playWall = wall.nsecsElapsed() / 1e9;
  const double playCpu = 100.0 * (CpuSeconds() - cpu) / playWall;
  const bool stillPlaying = form.playing != 0;

  std::vector<double> intervals;
  for (std::size_t i = 1; i < tickAt.size(); ++i) intervals.push_back(tickAt[i] - tickAt[i - 1]);
  const double ticksPerSecond =
      tickAt.size() > 1
          ? 1000.0 * static_cast<double>(tickAt.size() - 1) / (tickAt.back() - tickAt.front())
          : 0;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);

  if (!mode.empty()) {
    const QSize size = host.Window().size();
    std::printf("window_%s %dx%d zoom %d\n", mode.c_str(), size.width(), size.height(),
                host.Window().Placement().factor);
    std::printf("paint_median_ms_%s %.3f\n", mode.c_str(), Percentile(paintMs, 0.5));
    std::printf("ticks_per_second_%s %.2f\n", mode.c_str(), ticksPerSecond);
    std::printf("cpu_playing_%s_percent %.2f\n", mode.c_str(), playCpu);
    std::printf("tick_interval_p99_ms_%s %.2f\n", mode.c_str(), Percentile(intervals, 0.99));
    std::printf("autopilot_kept_the_ball_%s %s\n", mode.c_str(), stillPlaying ? "yes" : "no");
    return 0;
  }

  std::printf("startup_to_first_frame_ms %.1f\n", startupMs);
  std::printf("paint_median_ms %.3f\n", Percentile(paintMs, 0.5));
  std::printf("paint_p99_ms %.3f\n", Percentile(paintMs, 0.99));
  std::printf("ticks %zu\n", tickAt.size());
  std::printf("ticks_per_second %.2f\n", ticksPerSecond);
  std::printf("tick_interval_p99_ms %.2f\n", Percentile(intervals, 0.99));
  std::printf("cpu_playing_percent %.2f\n", playCpu);
  std::printf("cpu_menu_percent %.2f\n", menuCpu);
  std::printf("peak_rss_mb %.1f\n", usage.ru_maxrss / 1024.0);
  std::printf("autopilot_kept_the_ball %s\n", stillPlaying ? "yes" : "no");
  return 0;
}
