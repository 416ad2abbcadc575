// Pictures of the launcher's window drawn by its own controls with a given skin.
#pragma once

#include <vector>

#include "skin/data/compressed_skin.h"
#include "tools/skinview/tile.h"

namespace lumoa::skinview {

// Adds one tile per state a user sees: at start, a tab hovered, the search button hot and
// pressed, text typed, the drop-down open on the "more" tab, the system menu, rolled up.
void AddMainWindowTiles(TksCompressedStoredSkin& stored, std::vector<Tile>& tiles);

}  // namespace lumoa::skinview
