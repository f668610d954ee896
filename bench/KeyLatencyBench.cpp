// Key-to-screen latency of the real desktop host under an X server: an arrow
// key pressed through the XTEST extension, as the keyboard would, and the
// time until the X server's picture of the window shows the left paddle
// moved, read back pixel by pixel from another connection. The ball rests
// mid-field so that play goes on; every press lands at a random moment of
// the game's 10 ms tick. Prints one "name value" line per figure.
//   pellmora_bench_latency [PRESSES]
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/XKeyProbe.h"
#include "desktop/Fonts.h"
#include "desktop/QtHost.h"
#include "desktop/Translations.h"
#include "game/Int16.h"

using namespace pellmora;

namespace {

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
  return values[index];
}

}  // namespace

int main(int argc, char* argv[]) {
  const int presses = argc > 1 ? std::atoi(argv[1]) : 200;
  QApplication app(argc, argv);
  translations::InstallJapanese();
  fonts::InstallSubstitutes();
  QtHost host;
  host.SetPreferences(Preferences{1, false, true, {}});
  host.Start();
  Form1& form = host.Session().Game();
  while (!form.Command1.Visible) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

  // A game whose ball rests mid-field and whose items never come: only the
  // paddles move.
  host.Window().Command(0).click();
  form.ballDX = 0;
  form.ballDY = 0;
  form.Image5.Left = 312;
  form.Image5.Top = 232;
  form.Timer4.SetEnabled(false);

  const auto window = static_cast<unsigned long>(host.Window().winId());
  const int column = static_cast<int>(form.Image1.Left + form.Image1.Width / 2);
  const int height = host.Window().height();
  LatencyResults results;
  std::atomic<bool> done = false;
  std::thread watcher(PressAndWatch, std::getenv("DISPLAY"), window, column, height, presses,
                      std::ref(results), std::ref(done));
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (done) QCoreApplication::quit();
  });
  check.start(50);
  QApplication::exec();
  watcher.join();

  std::printf("key_to_screen_presses %zu\n", results.latencies.size());
  std::printf("key_to_screen_missed %d\n", results.missed);
  std::printf("key_to_screen_median_ms %.2f\n", Percentile(results.latencies, 0.5));
  std::printf("key_to_screen_p99_ms %.2f\n", Percentile(results.latencies, 0.99));
  std::printf("key_to_screen_max_ms %.2f\n", Percentile(results.latencies, 1.0));
  std::printf("latency_game_still_playing %s\n", form.playing == VbTrue ? "yes" : "no");
  return 0;
}
