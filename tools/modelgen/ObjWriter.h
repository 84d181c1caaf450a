// Writes a MeshBuilder's groups as a Wavefront OBJ file with its MTL material library.
#pragma once

#include <string>
#include <vector>

#include "MeshBuilder.h"

namespace modelgen {

struct MaterialEntry {
    std::string name;
    std::string diffuseMap; // relative to the Models directory
};

// Writes <directory>/<baseName>.obj and <directory>/<baseName>.mtl. Every material group
// becomes its own object, so the importer yields one mesh per group, in this order.
bool writeObj(const std::string& directory, const std::string& baseName, const MeshBuilder& mesh,
              const std::vector<MaterialEntry>& materials);

} // namespace modelgen
