// The arrow: a broadhead, a crested ash shaft and three feather vanes.
#pragma once

#include <glm/mat4x4.hpp>

#include "MeshBuilder.h"

namespace modelgen {

// Adds one arrow in its own frame, tip at the origin pointing along -z, nock at
// z = kArrowLength, cock feather towards +y; placement puts that frame into the model.
void addArrow(MeshBuilder& mesh, const glm::mat4& placement);

} // namespace modelgen
