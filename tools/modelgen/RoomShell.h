// The hall itself: floor, walls with the window, ceiling and beams, pillars, dais, doors, and
// the landscape seen through the window.
#pragma once

#include "MeshBuilder.h"

namespace modelgen {

void buildRoomShell(MeshBuilder& room);

} // namespace modelgen
