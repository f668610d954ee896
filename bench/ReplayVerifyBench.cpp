// Replays verified per second on one core: a ten-minute autopilot game is
// recorded on the headless host, then re-run against its checksums again and
// again in one process, as a server checking many files would.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "play/ReplayCheck.h"

using namespace pellmora;

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  std::ostringstream out;
  SimHost host(out, 1);
  SimGame game(host);
  game.Session().RecordGames(true);
  game.Load();
  host.Wait(1305);
  // Items parked off the field keep the speed where the autopilot keeps up.
  Form1& form = game.Window();
  for (int k = 0; k < 6; ++k) {
    form.Image6[k].Left = -1000;
    form.itemActive[k] = -1;
  }
  host.SetAutopilot(true);
  game.Click(SimButton::Command1);
  host.Wait(600'000);
  host.SetAutopilot(false);
  host.Wait(60'000);
  const Replay replay = game.Session().Recordings().LastGame("headless");
  const std::string file = WriteReplay(replay);
  const std::size_t bytes = file.size();
  // The file too, for pellmora-sim --verify natively and under node.
  if (argc > 2) {
    std::ofstream(argv[2], std::ios::binary) << file;
  }
  const long long ticks = host.Fired(2);

  long long verified = 0;
  const auto start = std::chrono::steady_clock::now();
  double elapsed = 0;
  while (elapsed < seconds) {
    if (CheckReplay(replay).status != ReplayVerdict::Ok) {
      std::fprintf(stderr, "replay bench: the recorded game does not verify\n");
      return 1;
    }
    ++verified;
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  std::printf("replay_bytes_ten_minutes %zu\n", bytes);
  std::printf("replays_verified_per_second %.1f\n", static_cast<double>(verified) / elapsed);
  std::printf("replay_ticks_per_second %.0f\n",
              static_cast<double>(verified) * static_cast<double>(ticks) / elapsed);
  return 0;
}
