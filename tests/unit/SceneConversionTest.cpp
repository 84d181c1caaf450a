// Converting an imported scene's meshes into vertex lists, on meshes built in memory.
#include "assets/SceneConversion.h"

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A mesh of `vertexCount` vertices at (i, 2i, 3i) with the given faces.
std::unique_ptr<aiMesh> makeMesh(unsigned vertexCount,
                                 const std::vector<std::vector<unsigned>>& faces,
                                 bool withNormals = true, bool withUvs = true) {
    auto mesh = std::make_unique<aiMesh>();
    mesh->mNumVertices = vertexCount;
    mesh->mVertices = new aiVector3D[vertexCount];
    if (withNormals) {
        mesh->mNormals = new aiVector3D[vertexCount];
    }
    if (withUvs) {
        mesh->mTextureCoords[0] = new aiVector3D[vertexCount];
        mesh->mNumUVComponents[0] = 2;
    }
    for (unsigned i = 0; i < vertexCount; ++i) {
        const float f = static_cast<float>(i);
        mesh->mVertices[i] = aiVector3D(f, 2 * f, 3 * f);
        if (withNormals) {
            mesh->mNormals[i] = aiVector3D(0, 1, 0);
        }
        if (withUvs) {
            mesh->mTextureCoords[0][i] = aiVector3D(f / 10, 1 - f / 10, 7);
        }
    }
    mesh->mNumFaces = static_cast<unsigned>(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (size_t f = 0; f < faces.size(); ++f) {
        mesh->mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].size());
        mesh->mFaces[f].mIndices = new unsigned[faces[f].size()];
        std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
    }
    return mesh;
}

TEST(SceneConversionTest, CopiesVerticesInOrderAndTheFirstTwoUvComponents) {
    const auto mesh = makeMesh(3, {{0, 1, 2}});
    const MeshData data = convertMesh(*mesh);
    ASSERT_EQ(data.positions.size(), 3u);
    EXPECT_EQ(data.positions[2], glm::vec3(2, 4, 6));
    ASSERT_EQ(data.uvs.size(), 3u);
    EXPECT_EQ(data.uvs[1], glm::vec2(0.1f, 0.9f));
    ASSERT_EQ(data.normals.size(), 3u);
    EXPECT_EQ(data.normals[0], glm::vec3(0, 1, 0));
    EXPECT_EQ(data.indices, (std::vector<GLushort>{0, 1, 2}));
}

TEST(SceneConversionTest, MeshWithoutTextureCoordinatesHasNoUvs) {
    const auto mesh = makeMesh(3, {{0, 1, 2}}, true, false);
    EXPECT_TRUE(convertMesh(*mesh).uvs.empty());
}

TEST(SceneConversionTest, MeshWithoutNormalsGetsZeroNormalsForEveryVertex) {
    const auto mesh = makeMesh(6, {{0, 1, 2}, {3, 4, 5}}, false);
    const MeshData data = convertMesh(*mesh);
    ASSERT_EQ(data.normals.size(), 6u);
    for (const glm::vec3& normal : data.normals) {
        EXPECT_EQ(normal, glm::vec3(0));
    }
}

TEST(SceneConversionTest, QuadKeepsItsFirstThreeIndices) {
    const auto mesh = makeMesh(4, {{0, 1, 2, 3}});
    EXPECT_EQ(convertMesh(*mesh).indices, (std::vector<GLushort>{0, 1, 2}));
}

TEST(SceneConversionTest, IndexAbove65535KeepsItsLow16Bits) {
    const auto mesh = makeMesh(3, {{0, 70000, 2}});
    EXPECT_EQ(convertMesh(*mesh).indices[1], 4464);
}

TEST(SceneConversionTest, PointsAndLinesBecomeDegenerateTrianglesWithinTheirOwnIndices) {
    const auto mesh = makeMesh(6, {{4}, {1, 5}, {0, 1, 2}});
    const MeshData data = convertMesh(*mesh);
    EXPECT_EQ(data.indices, (std::vector<GLushort>{4, 4, 4, 1, 5, 5, 0, 1, 2}));
}

TEST(SceneConversionTest, EmptyMeshGivesEmptyLists) {
    aiMesh mesh;
    const MeshData data = convertMesh(mesh);
    EXPECT_TRUE(data.positions.empty());
    EXPECT_TRUE(data.normals.empty());
    EXPECT_TRUE(data.uvs.empty());
    EXPECT_TRUE(data.indices.empty());
}

void addDiffuseTexture(aiMaterial& material, const char* path, unsigned index) {
    const aiString text(path);
    material.AddProperty(&text, AI_MATKEY_TEXTURE_DIFFUSE(index));
}

TEST(SceneConversionTest, MaterialWithTwoDiffuseTexturesListsBothFirstOneFirst) {
    aiMaterial material;
    addDiffuseTexture(material, "first.png", 0);
    addDiffuseTexture(material, "second.png", 1);
    EXPECT_EQ(diffuseTexturePaths(material), (std::vector<std::string>{"first.png", "second.png"}));
    std::string first;
    ASSERT_TRUE(firstDiffuseTexturePath(material, first));
    EXPECT_EQ(first, "first.png");
}

TEST(SceneConversionTest, MaterialWithoutDiffuseTextureNamesNone) {
    aiMaterial material;
    EXPECT_TRUE(diffuseTexturePaths(material).empty());
    std::string path;
    EXPECT_FALSE(firstDiffuseTexturePath(material, path));
}

} // namespace
