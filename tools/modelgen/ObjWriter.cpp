// OBJ/MTL text output with fixed-precision numbers, so reruns give identical bytes.
#include "ObjWriter.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace modelgen {

namespace {

// The importer emits one vertex per face corner, and indices are 16-bit: stay below 65,536
// corners per mesh with some room to spare.
constexpr size_t kMaxTrianglesPerMesh = 21000;

// Four decimals is a tenth of a millimetre at our scale; "-0.0000" is printed as "0.0000" so
// that the text does not depend on the sign of a rounding residue.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
    std::string s(text);
    if (s == "-0.0000") {
        s = "0.0000";
    }
    return s;
}

// Index of a line in one of the OBJ vertex attribute lists; identical lines are shared.
class AttributeList {
  public:
    explicit AttributeList(const char* keyword) : keyword(keyword) {}

    size_t index(const std::string& values) {
        auto found = lookup.find(values);
        if (found != lookup.end()) {
            return found->second;
        }
        lines.push_back(values);
        lookup.emplace(values, lines.size());
        return lines.size();
    }

    void write(std::FILE* file) const {
        for (const std::string& line : lines) {
            std::fprintf(file, "%s %s\n", keyword, line.c_str());
        }
    }

  private:
    const char* keyword;
    std::vector<std::string> lines;
    std::map<std::string, size_t> lookup;
};

float glowOf(const std::string& material, const std::vector<MaterialEntry>& materials) {
    for (const MaterialEntry& m : materials) {
        if (m.name == material) {
            return m.glow;
        }
    }
    return 0.0f;
}

} // namespace

bool writeObj(const std::string& directory, const std::string& baseName, const MeshBuilder& mesh,
              const std::vector<MaterialEntry>& materials) {
    AttributeList positions("v");
    AttributeList uvs("vt");
    AttributeList normals("vn");
    std::string faces;
    std::vector<std::string> usedMaterials;
    for (const MeshGroup& g : mesh.groups()) {
        usedMaterials.push_back(g.material);
        const float normalLength = 1.0f + glowOf(g.material, materials);
        const size_t triangles = g.corners.size() / 3;
        for (size_t first = 0, chunk = 0; first < triangles;
             first += kMaxTrianglesPerMesh, ++chunk) {
            faces += "o " + g.material + (chunk > 0 ? "_" + std::to_string(chunk) : "") + "\n";
            faces += "usemtl " + g.material + "\n";
            const size_t last = std::min(triangles, first + kMaxTrianglesPerMesh);
            for (size_t t = first; t < last; ++t) {
                faces += "f";
                for (size_t k = 0; k < 3; ++k) {
                    const Vertex& v = g.corners[t * 3 + k];
                    const size_t p =
                        positions.index(number(v.position.x) + " " + number(v.position.y) + " " +
                                        number(v.position.z));
                    const size_t uv = uvs.index(number(v.uv.x) + " " + number(v.uv.y));
                    const glm::vec3 normal = v.normal * normalLength;
                    const size_t n = normals.index(number(normal.x) + " " + number(normal.y) + " " +
                                                   number(normal.z));
                    faces += " " + std::to_string(p) + "/" + std::to_string(uv) + "/" +
                             std::to_string(n);
                }
                faces += "\n";
            }
        }
    }

    const std::string objPath = directory + "/" + baseName + ".obj";
    std::FILE* obj = std::fopen(objPath.c_str(), "wb");
    if (obj == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", objPath.c_str());
        return false;
    }
    std::fprintf(obj, "# Quiverfall model, written by quiverfall-modelgen; do not edit by hand.\n");
    std::fprintf(obj, "mtllib %s.mtl\n", baseName.c_str());
    positions.write(obj);
    uvs.write(obj);
    normals.write(obj);
    std::fputs(faces.c_str(), obj);
    std::fclose(obj);

    const std::string mtlPath = directory + "/" + baseName + ".mtl";
    std::FILE* mtl = std::fopen(mtlPath.c_str(), "wb");
    if (mtl == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", mtlPath.c_str());
        return false;
    }
    std::fprintf(mtl, "# Quiverfall materials, written by quiverfall-modelgen.\n");
    for (const std::string& name : usedMaterials) {
        const MaterialEntry* entry = nullptr;
        for (const MaterialEntry& m : materials) {
            if (m.name == name) {
                entry = &m;
            }
        }
        if (entry == nullptr) {
            std::fprintf(stderr, "material %s has no entry\n", name.c_str());
            std::fclose(mtl);
            return false;
        }
        // The demo's shading takes its colour from the diffuse map only; white Kd keeps other
        // viewers showing the texture unchanged.
        std::fprintf(mtl,
                     "\nnewmtl %s\nKa 1.0000 1.0000 1.0000\nKd 1.0000 1.0000 1.0000\n"
                     "Ks 0.0000 0.0000 0.0000\nNs 10.0000\nd 1.0000\nillum 1\nmap_Kd %s\n",
                     entry->name.c_str(), entry->diffuseMap.c_str());
    }
    std::fclose(mtl);
    return true;
}

} // namespace modelgen
