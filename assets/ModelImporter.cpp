#include "assets/ModelImporter.h"

#include "assets/Mesh.h"
#include "assets/SceneConversion.h"
#include "assets/TextureLoader.h"
#include "assets/WaitForEnter.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <iostream>
#include <map>
#include <string>

namespace {

const std::string modelDirectory = "./Models/";

using TextureTable = std::map<std::string, GLuint>;

// Loads every diffuse texture of every material, also of materials no mesh uses. A path named
// twice is loaded twice and the later name wins.
TextureTable loadMaterialTextures(const aiScene& scene) {
    TextureTable table;
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        for (const std::string& path : diffuseTexturePaths(*scene.mMaterials[m])) {
            const std::string fullPath = modelDirectory + path;
            if (fullPath != modelDirectory) {
                table[path] = loadTexture(fullPath.c_str());
            }
        }
    }
    return table;
}

GLuint meshTexture(const aiScene& scene, const aiMesh& mesh, const TextureTable& table) {
    if (mesh.mMaterialIndex >= scene.mNumMaterials) {
        return 0;
    }
    std::string path;
    if (!firstDiffuseTexturePath(*scene.mMaterials[mesh.mMaterialIndex], path)) {
        return 0;
    }
    const auto found = table.find(path);
    return found != table.end() ? found->second : 0;
}

} // namespace

bool importModel(const char* path, std::vector<Mesh*>& meshes) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (scene == nullptr) {
        std::cerr << importer.GetErrorString() << std::flush;
        waitForEnterOnTerminal(PromptAfter::unfinishedLine);
        return false;
    }

    appendSceneMeshes(*scene, meshes);
    return true;
}

void appendSceneMeshes(const aiScene& scene, std::vector<Mesh*>& meshes) {
    const TextureTable textures = loadMaterialTextures(scene);
    for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
        const aiMesh& mesh = *scene.mMeshes[i];
        MeshData data = convertMesh(mesh);
        meshes.push_back(new Mesh(std::move(data.indices), std::move(data.positions),
                                  std::move(data.uvs), std::move(data.normals),
                                  meshTexture(scene, mesh, textures)));
    }
}
