// pellmora-sim [--seed N] [--record FILE] [SCRIPT|-]
// pellmora-sim --verify FILE...
// Replays a script against the game on the simulated host and prints what
// happens. Exit status 0 when the script ran out or the program ended, 2 for
// a faulty command line or script (one line on standard error). --record
// writes the last game the script played as a replay; --verify re-runs
// replays and says whether each reaches its score.
#include <charconv>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "headless/SimFormat.h"
#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "tools/pellmora-sim/ReplayCommands.h"
#include "tools/pellmora-sim/ScriptError.h"
#include "tools/pellmora-sim/ScriptFile.h"
#include "tools/pellmora-sim/ScriptRunner.h"
#include "tools/pellmora-sim/ScriptText.h"

using namespace pellmora;

namespace {

constexpr int kScriptFault = 2;

int Fail(const std::string& message) {
  std::cout.flush();
  std::cerr << "pellmora-sim: " << message << '\n';
  return kScriptFault;
}

constexpr char kUsage[] =
    "usage: pellmora-sim [--seed N] [--record FILE] [SCRIPT] | pellmora-sim --verify FILE...";

struct Arguments {
  std::uint64_t seed = 1;
  std::string script = "-";
  std::string record;  // empty: no replay written
  bool verify = false;
  std::vector<std::string> replays;
};

// Only the documented interface: --seed N and --record FILE once each, at
// most one script; or --verify with its files alone.
bool ParseArguments(int argc, char** argv, Arguments& args, std::string& why) {
  bool seedGiven = false;
  bool scriptGiven = false;
  if (argc > 1 && std::string_view(argv[1]) == "--verify") {
    args.verify = true;
    for (int i = 2; i < argc; ++i) args.replays.emplace_back(argv[i]);
    if (args.replays.empty()) why = "--verify needs at least one replay file";
    return !args.replays.empty();
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--record") {
      if (!args.record.empty()) {
        why = "--record given twice";
        return false;
      }
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
        why = "--record needs a file name";
        return false;
      }
      args.record = argv[++i];
    } else if (arg == "--verify") {
      why = "--verify takes replay files alone (" + std::string(kUsage) + ")";
      return false;
    } else if (arg == "--seed") {
      if (seedGiven) {
        why = "--seed given twice";
        return false;
      }
      if (i + 1 >= argc) {
        why = "--seed needs a number";
        return false;
      }
      const std::string_view value = argv[++i];
      const auto result = std::from_chars(value.data(), value.data() + value.size(), args.seed);
      if (value.empty() || result.ec != std::errc{} || result.ptr != value.data() + value.size()) {
        why = "--seed needs a whole number from 0 to 18446744073709551615, got " + Quoted(value);
        return false;
      }
      seedGiven = true;
    } else if (arg.size() > 1 && arg.front() == '-') {
      why = "unknown option " + Quoted(arg) + " (" + kUsage + ")";
      return false;
    } else {
      if (scriptGiven) {
        why = "more than one script given";
        return false;
      }
      args.script = arg;
      scriptGiven = true;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);

  Arguments args;
  std::string why;
  if (!ParseArguments(argc, argv, args, why)) return Fail(why);
  if (args.verify) {
    const int status = VerifyReplays(args.replays, std::cout, std::cerr);
    std::cout.flush();
    return status;
  }

  std::string text;
  if (!ReadScript(args.script, text, why)) {
    return Fail("cannot read script " +
                (args.script == "-" ? std::string("from standard input") : Quoted(args.script)) +
                ": " + why);
  }

  SimHost host(std::cout, args.seed);
  SimGame game(host);
  game.Session().RecordGames(!args.record.empty());
  game.Load();

  ScriptRunner runner(host, game, std::cout);
  const auto lines = ScriptLines(text);
  for (std::size_t i = 0; i < lines.size() && !host.Ended(); ++i) {
    try {
      runner.Run(lines[i]);
    } catch (const ScriptError& error) {
      return Fail("line " + std::to_string(i + 1) + ": " + error.what());
    }
  }

  std::cout.flush();
  if (!std::cout) {
    std::cerr << "pellmora-sim: cannot write the output\n";
    return 1;
  }
  if (!args.record.empty() && !WriteLastGame(game.Session(), args.record, why)) {
    std::cerr << "pellmora-sim: " << why << '\n';
    return 1;
  }
  return 0;
}
