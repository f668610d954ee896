// pellmora-sim [--seed N] [SCRIPT|-]
// Replays a script against the game on the simulated host and prints what
// happens. Exit status 0 when the script ran out or the program ended, 2 for
// a faulty command line or script (one line on standard error).
#include <charconv>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

#include "headless/SimFormat.h"
#include "headless/SimGame.h"
#include "headless/SimHost.h"
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

struct Arguments {
  std::uint64_t seed = 1;
  std::string script = "-";
};

// Only the documented interface: --seed N once, at most one script.
bool ParseArguments(int argc, char** argv, Arguments& args, std::string& why) {
  bool seedGiven = false;
  bool scriptGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--seed") {
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
      why = "unknown option " + Quoted(arg) + " (usage: pellmora-sim [--seed N] [SCRIPT])";
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

  std::string text;
  if (!ReadScript(args.script, text, why)) {
    return Fail("cannot read script " +
                (args.script == "-" ? std::string("from standard input") : Quoted(args.script)) +
                ": " + why);
  }

  SimHost host(std::cout, args.seed);
  SimGame game(host);
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
  return 0;
}
