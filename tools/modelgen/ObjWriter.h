// Writes a MeshBuilder's groups as a Wavefront OBJ file with its MTL material library.
#pragma once

#include <string>
#include <vector>

#include "MeshBuilder.h"

namespace modelgen {

struct MaterialEntry {
    std::string name;
    std::string diffuseMap; // relative to the Models directory
    // Light the surface gives off, as a multiple of its texture colour. The OBJ format has no
    // field the demo reads for it, so it travels in the normals' length: a normal written
    // 1 + glow long (the shading takes the direction from the normal and the glow from the
    // excess length). 0 for surfaces that only reflect light.
    float glow = 0.0f;
};

// Writes <directory>/<baseName>.obj and <directory>/<baseName>.mtl. Every material group
// becomes its own object, so the importer yields one mesh per group, in this order.
bool writeObj(const std::string& directory, const std::string& baseName, const MeshBuilder& mesh,
              const std::vector<MaterialEntry>& materials);

} // namespace modelgen
