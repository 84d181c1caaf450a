// Everything that stands in the hall: the fire pit, furniture, tableware, barrels, weapons,
// banners, the chandelier and the archery range with its targets.
#pragma once

#include "MeshBuilder.h"

namespace modelgen {

void buildRoomProps(MeshBuilder& room);

} // namespace modelgen
