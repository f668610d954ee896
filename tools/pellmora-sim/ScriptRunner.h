// Runs a script's commands, one line at a time, against the game on the
// simulated host. A faulty line throws ScriptError before it changes anything.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "tools/pellmora-sim/NameTable.h"

namespace pellmora {

class ScriptRunner {
 public:
  ScriptRunner(SimHost& host, SimGame& game, std::ostream& out);

  // One line without its line end. Blank lines and comments do nothing.
  void Run(std::string_view line);

 private:
  void Wait(const std::vector<std::string_view>& args);
  void Click(std::string_view name);
  void Rnd(const std::vector<std::string_view>& args);
  void Set(std::string_view nameAndValue);
  void Print(const std::vector<std::string_view>& names);
  void Autopilot(std::string_view mode);

  const NameEntry& Lookup(std::string_view name) const;
  std::string Value(const NameEntry& entry);

  SimHost& host_;
  SimGame& game_;
  std::ostream& out_;
  NameTable names_;
};

}  // namespace pellmora
