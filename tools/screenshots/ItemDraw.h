// Putting a bonus item where a screenshot wants it, through the game's own
// spawn handler.
#pragma once

#include "desktop/QtHost.h"
#include "game/Form1.h"

namespace pellmora {

// Queues the four random values that make the next Timer4_Timer show item
// kind k with its top-left corner at (left, top). False, with nothing queued,
// for a place the game never draws: left 75..399, top 50..124 or 250..349.
bool QueueItemDraw(QtHost& host, ItemKind k, int left, int top);

}  // namespace pellmora
