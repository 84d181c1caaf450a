#include "assets/SceneConversion.h"

#include <assimp/material.h>
#include <assimp/mesh.h>

#include <algorithm>

namespace {

bool diffuseTexturePath(const aiMaterial& material, unsigned index, std::string& path) {
    aiString text;
    if (aiGetMaterialTexture(&material, aiTextureType_DIFFUSE, index, &text, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr) != aiReturn_SUCCESS) {
        return false;
    }
    path.assign(text.C_Str(), text.length);
    return true;
}

} // namespace

MeshData convertMesh(const aiMesh& mesh) {
    MeshData data;
    const unsigned vertexCount = mesh.mVertices != nullptr ? mesh.mNumVertices : 0;

    data.positions.reserve(vertexCount);
    for (unsigned i = 0; i < vertexCount; ++i) {
        const aiVector3D& p = mesh.mVertices[i];
        data.positions.emplace_back(p.x, p.y, p.z);
    }

    if (mesh.HasTextureCoords(0)) {
        data.uvs.reserve(vertexCount);
        for (unsigned i = 0; i < vertexCount; ++i) {
            const aiVector3D& uv = mesh.mTextureCoords[0][i];
            data.uvs.emplace_back(uv.x, uv.y);
        }
    }

    // A mesh without normals gets zero normals: it still draws (unlit but for ambient) instead
    // of reading a list that does not exist.
    data.normals.reserve(vertexCount);
    for (unsigned i = 0; i < vertexCount; ++i) {
        if (mesh.mNormals != nullptr) {
            const aiVector3D& n = mesh.mNormals[i];
            data.normals.emplace_back(n.x, n.y, n.z);
        } else {
            data.normals.emplace_back(0.0f, 0.0f, 0.0f);
        }
    }

    // Only the first three corners of a face are kept. Points and lines have fewer: their last
    // index is repeated into a degenerate triangle, which keeps three indices per face without
    // reading past the face's own list, and draws nothing.
    const unsigned faceCount = mesh.mFaces != nullptr ? mesh.mNumFaces : 0;
    data.indices.reserve(static_cast<size_t>(faceCount) * 3);
    for (unsigned f = 0; f < faceCount; ++f) {
        const aiFace& face = mesh.mFaces[f];
        const unsigned corners = face.mIndices != nullptr ? face.mNumIndices : 0;
        for (unsigned corner = 0; corner < 3; ++corner) {
            const unsigned source = corners == 0 ? 0 : face.mIndices[std::min(corner, corners - 1)];
            data.indices.push_back(static_cast<GLushort>(source));
        }
    }
    return data;
}

std::vector<std::string> diffuseTexturePaths(const aiMaterial& material) {
    std::vector<std::string> paths;
    std::string path;
    for (unsigned index = 0; diffuseTexturePath(material, index, path); ++index) {
        paths.push_back(path);
    }
    return paths;
}

bool firstDiffuseTexturePath(const aiMaterial& material, std::string& path) {
    return diffuseTexturePath(material, 0, path);
}
