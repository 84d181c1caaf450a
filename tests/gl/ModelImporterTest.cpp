// Importing OBJ files written by the tests: meshes, their lists and their textures. How a mesh's
// faces and vertices become vertex lists is checked without GL, in unit/SceneConversionTest.cpp.
#include "assets/ModelImporter.h"
#include "assets/Mesh.h"
#include "support/Process.h"
#include "support/ScopedIo.h"

#include <FreeImage.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <vector>

namespace {

const char* const triangleObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                "vt 0 0\nvt 1 0\nvt 0 1\n"
                                "vn 0 0 1\n";

// Texture names are small integers; the whole GL test run stays far below this one.
constexpr GLuint textureNameLimit = 1u << 16;

// The names of the textures alive in the context, up to textureNameLimit, in increasing order.
std::set<GLuint> liveTextureNames() {
    std::set<GLuint> names;
    for (GLuint name = 1; name <= textureNameLimit; ++name) {
        if (glIsTexture(name)) {
            names.insert(name);
        }
    }
    return names;
}

class ModelImporterTest : public ::testing::Test {
  protected:
    ModelImporterTest() : inDirectory(dir.path()) {}

    ~ModelImporterTest() override {
        for (Mesh* mesh : meshes) {
            delete mesh;
        }
    }

    void writeImage(const std::string& relativePath) {
        std::filesystem::create_directories((dir.path() / relativePath).parent_path());
        FIBITMAP* image = FreeImage_Allocate(4, 4, 24);
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, image, (dir.path() / relativePath).c_str(), 0));
        FreeImage_Unload(image);
    }

    bool import(const std::string& relativePath, std::string* output = nullptr) {
        ::testing::internal::CaptureStdout();
        const bool result = importModel(relativePath.c_str(), meshes);
        const std::string printed = ::testing::internal::GetCapturedStdout();
        if (output != nullptr) {
            *output = printed;
        }
        return result;
    }

    TempDirectory dir;
    ScopedWorkingDirectory inDirectory;
    std::vector<Mesh*> meshes;
};

TEST_F(ModelImporterTest, UnreadableFileReportsOnStandardErrorAndAppendsNothing) {
    ScopedNullInput noTerminal;
    ::testing::internal::CaptureStderr();
    const bool result = import("./Models/missing.obj");
    const std::string error = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(result);
    EXPECT_TRUE(meshes.empty());
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.back(), '\n') << "the import library's text is written unchanged";
}

// A material's diffuse texture is found below ./Models, in a folder of its own too; one that
// cannot be opened is named on standard output and leaves the mesh without a texture.
TEST_F(ModelImporterTest, MeshGetsItsMaterialsTextureFromBelowModels) {
    struct Case {
        const char* texture;
        bool exists;
        const char* printed;
    };
    const Case cases[] = {
        {"wood.png", true, ""},
        {"textures/stone/wall.png", true, ""},
        {"gone.png", false,
         "./Models/gone.png could not be opened. Are you in the right directory ?\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texture);
        if (c.exists) {
            writeImage(std::string("Models/") + c.texture);
        }
        dir.writeFile("Models/one.mtl", std::string("newmtl m\nmap_Kd ") + c.texture + "\n");
        dir.writeFile("Models/one.obj", std::string("mtllib one.mtl\n") + triangleObj +
                                            "usemtl m\nf 1/1/1 2/2/1 3/3/1\n");
        const size_t before = meshes.size();
        std::string output;
        ASSERT_TRUE(import("./Models/one.obj", &output));
        EXPECT_EQ(output, c.printed);
        ASSERT_EQ(meshes.size(), before + 1);
        EXPECT_EQ(glIsTexture(meshes.back()->texture()) == GL_TRUE, c.exists)
            << "texture " << meshes.back()->texture();
    }
}

TEST_F(ModelImporterTest, FileWithoutMeshesStillLoadsItsMaterialsTextures) {
    dir.writeFile("Models/empty.mtl", "newmtl unused\nmap_Kd notthere.png\n");
    dir.writeFile("Models/empty.obj", "mtllib empty.mtl\no nothing\n");
    std::string output;
    EXPECT_TRUE(import("./Models/empty.obj", &output));
    EXPECT_TRUE(meshes.empty());
    // The texture pass ran over the unused material: the missing file is how we see it.
    EXPECT_EQ(output, "./Models/notthere.png could not be opened. Are you in the right "
                      "directory ?\n");
}

TEST_F(ModelImporterTest, TwoMaterialsNamingOneImageLoadItTwiceAndShareTheLaterName) {
    writeImage("Models/shared.png");
    dir.writeFile("Models/two.mtl", "newmtl a\nmap_Kd shared.png\nnewmtl b\nmap_Kd shared.png\n");
    dir.writeFile("Models/two.obj", std::string("mtllib two.mtl\n") + triangleObj +
                                        "o first\nusemtl a\nf 1/1/1 2/2/1 3/3/1\n"
                                        "o second\nusemtl b\nf 1/1/1 2/2/1 3/3/1\n");
    // Earlier tests leave textures alive in the shared context: only names that appear during
    // this import are its own.
    const std::set<GLuint> before = liveTextureNames();
    ASSERT_TRUE(import("./Models/two.obj"));
    const std::set<GLuint> after = liveTextureNames();
    std::vector<GLuint> created;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(created));
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_EQ(meshes[0]->texture(), meshes[1]->texture());
    ASSERT_NE(meshes[0]->texture(), 0u);
    ASSERT_LE(meshes[0]->texture(), textureNameLimit) << "raise textureNameLimit";
    // The first load made a texture of its own, which stays alive although nothing uses it.
    EXPECT_EQ(created.size(), 2u) << "the image named by both materials was not loaded twice";
    // This GL hands out texture names in increasing order, so the later load has the larger.
    if (created.size() == 2u) {
        EXPECT_EQ(meshes[0]->texture(), created[1])
            << "the meshes do not use the texture of the later load";
    }
    glDeleteTextures(static_cast<GLsizei>(created.size()), created.data());
}

TEST_F(ModelImporterTest, MeshesAreAppendedAfterExistingOnesInFileOrder) {
    Mesh* existing = new Mesh({}, {}, {}, {}, 0);
    meshes.push_back(existing);
    dir.writeFile("Models/pair.obj", std::string(triangleObj) + "o near\nf 1//1 2//1 3//1\n"
                                                                "o far\nf 1//1 3//1 2//1 1//1\n");
    ASSERT_TRUE(import("./Models/pair.obj"));
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[0], existing);
    ASSERT_EQ(meshes[1]->positions().size(), 3u);
    ASSERT_EQ(meshes[2]->positions().size(), 4u);
    // Each mesh's own vertices, in the slots the mesh keeps them in: the far face's second corner
    // is vertex 3, the near face's vertex 2.
    EXPECT_EQ(meshes[1]->positions()[1], glm::vec3(1, 0, 0));
    EXPECT_EQ(meshes[2]->positions()[1], glm::vec3(0, 1, 0));
    ASSERT_EQ(meshes[2]->normals().size(), 4u);
    EXPECT_EQ(meshes[2]->normals()[1], glm::vec3(0, 0, 1));
}

// A scene built in memory: one mesh whose material names two diffuse textures.
TEST_F(ModelImporterTest, MaterialWithTwoDiffuseTexturesLoadsBothAndTheMeshGetsTheFirst) {
    writeImage("Models/first.png");
    aiScene scene;
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [1] { new aiMaterial };
    const aiString first("first.png"), second("second.png");
    scene.mMaterials[0]->AddProperty(&first, AI_MATKEY_TEXTURE_DIFFUSE(0));
    scene.mMaterials[0]->AddProperty(&second, AI_MATKEY_TEXTURE_DIFFUSE(1));
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh* [1] { new aiMesh };
    ::testing::internal::CaptureStdout();
    appendSceneMeshes(scene, meshes);
    const std::string output = ::testing::internal::GetCapturedStdout();
    // The second path was tried too: it has no file, which is how we see the attempt.
    EXPECT_EQ(output,
              "./Models/second.png could not be opened. Are you in the right directory ?\n");
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_NE(meshes[0]->texture(), 0u);
}

// A broken file's mesh may name a material the file does not have, one past the last: it gets
// no texture, and nothing past the material list is read (here the slot after the list holds a
// material that would give it one).
TEST_F(ModelImporterTest, AMeshNamingAMaterialPastTheListGetsNoTexture) {
    writeImage("Models/first.png");
    aiScene scene;
    const aiString first("first.png");
    aiMaterial* textured = new aiMaterial;
    textured->AddProperty(&first, AI_MATKEY_TEXTURE_DIFFUSE(0));
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [2] { textured, new aiMaterial };
    scene.mMaterials[1]->AddProperty(&first, AI_MATKEY_TEXTURE_DIFFUSE(0));
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh* [1] { new aiMesh };
    scene.mMeshes[0]->mMaterialIndex = 1;
    appendSceneMeshes(scene, meshes);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0]->texture(), 0u);
    // The scene deletes the materials it counts: the one past the list is the test's own.
    delete scene.mMaterials[1];
}

} // namespace
