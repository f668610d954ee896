// Simulated game ticks per second on one core: the headless game with the
// autopilot playing, one game after another.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "headless/SimGame.h"
#include "headless/SimHost.h"

using namespace pellmora;

int main(int argc, char** argv) {
  const long long ticks = argc > 1 ? std::atoll(argv[1]) : 20'000'000;
  std::ostringstream out;
  SimHost host(out, 1);
  SimGame game(host);
  game.Load();
  host.Wait(1305);  // the title settles and the menu appears
  host.SetAutopilot(true);
  Form1& form = game.Window();
  long long played = 0;
  long long games = 0;
  const auto start = std::chrono::steady_clock::now();
  while (played < ticks) {
    if (!form.Timer2.Enabled() && form.playing == 0) {
      game.Click(SimButton::Command1);
      ++games;
    }
    host.Wait(10'000);  // up to 1000 ticks of 10 ms, a spawn attempt among them
    played = host.Fired(2);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("sim_ticks_per_second %.0f\n", static_cast<double>(played) / seconds);
  std::printf("sim_games %lld\n", games);
  return 0;
}
