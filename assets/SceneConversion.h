// Turning an already-read Assimp scene into the vertex lists of our meshes. No GL, no file access,
// so the conversion can be tested on scenes built in memory.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

struct aiMaterial;
struct aiMesh;

struct MeshData {
    std::vector<GLushort> indices;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec2> uvs;
    std::vector<glm::vec3> normals;
};

// Copies one mesh in the import library's vertex order. Every face yields exactly three indices.
MeshData convertMesh(const aiMesh& mesh);

// The material's diffuse texture paths, in order, as the material states them.
std::vector<std::string> diffuseTexturePaths(const aiMaterial& material);

// The material's first diffuse texture path; false when it names none.
bool firstDiffuseTexturePath(const aiMaterial& material, std::string& path);
