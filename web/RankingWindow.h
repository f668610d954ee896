// The ranking window as an in-page window: its cells built from the design
// values, its twenty boxes shown from the game's Form2 controls.
#pragma once

#include "host/Host.h"
#include "scores/HiScoreTable.h"

namespace pellmora {

// Builds the window's labels, boxes and close button and shows it.
void OpenRankingWindow();
// Shows the boxes' texts, places and visibility.
void SyncRankingWindow(const Form2Controls& controls);
// The table as the window shows it, which a game over does not refresh:
// the rank a player points at is the row they see.
HiScoreTable ShownTable(const Form2Controls& controls);

}  // namespace pellmora
