// The high-score table in memory, on disk and in the ranking window must
// always tell the same story.
#pragma once

#include <string>
#include <vector>

#include "game/GameState.h"
#include "host/Host.h"

namespace pellmora {

struct TableEntry {
  int score = 0;
  std::string name;
};

std::vector<TableEntry> ListedEntries(const GameState& state);

// Best first, the spare slot empty.
void CheckTableShape(const GameState& state);

// The file holds exactly what the table holds: the writer's bytes, and read
// back, the same scores and the names as the code page keeps them.
void CheckFileMatchesTable(const GameState& state, const std::string& fileName);

// A table read from the file at start-up equals the one that wrote it.
void CheckReloadedTable(const std::vector<TableEntry>& written, const GameState& reloaded);

void CheckRankingWindow(const Form2Controls& form2, const GameState& state);

// The name as it comes back from the file.
std::string NameAfterSaving(const std::string& name);

}  // namespace pellmora
