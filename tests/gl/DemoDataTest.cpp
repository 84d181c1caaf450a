// The committed demo data in ./Models: every model imports cleanly into plain triangle lists with
// a normal (unit length, or one longer length per glowing mesh) and texture coordinates on every
// vertex, every texture the materials name is a
// 24-bit power-of-two image, and every triangle winds counter-clockwise around its normals so that
// back-face culling keeps the visible side.
#include "assets/Mesh.h"
#include "assets/ModelImporter.h"

#include <FreeImage.h>
#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ModelFile {
    const char* path;
    size_t meshCount; // one mesh per material of the generator's output
};

const ModelFile demoModels[] = {
    {"./Models/room.obj", 17},
    {"./Models/arrow1.obj", 3},
    {"./Models/arrow2.obj", 3},
    {"./Models/arrow3.obj", 3},
};

// Indices are 16-bit and the draw issues one vertex per face corner.
constexpr size_t maxVerticesPerMesh = 65535;

// Normals are written with four decimals, which leaves a unit vector off by at most about 1e-4.
constexpr double unitNormalTolerance = 1e-3;
// A glowing surface carries its glow in the normals' length (1 + glow). The room's flames, embers
// and logs glow; nothing else does, and no glow is so strong that its colour would wash out.
constexpr size_t glowingRoomMeshes = 3;
constexpr double strongestGlow = 8.0;

struct ImportedModel {
    bool imported = false;
    std::string printed;
    std::string errors;
    std::vector<Mesh*> meshes;
};

class DemoDataTest : public ::testing::Test {
  protected:
    // Importing the room decodes all its textures on software GL: do it once for every test.
    static void SetUpTestSuite() {
        models = new std::map<std::string, ImportedModel>;
        for (const ModelFile& file : demoModels) {
            ImportedModel& model = (*models)[file.path];
            ::testing::internal::CaptureStdout();
            ::testing::internal::CaptureStderr();
            model.imported = importModel(file.path, model.meshes);
            model.errors = ::testing::internal::GetCapturedStderr();
            model.printed = ::testing::internal::GetCapturedStdout();
        }
    }

    static void TearDownTestSuite() {
        std::set<GLuint> textures;
        for (auto& [path, model] : *models) {
            for (Mesh* mesh : model.meshes) {
                textures.insert(mesh->texture());
                delete mesh;
            }
        }
        // Meshes only borrow their textures; the import left them to us.
        for (GLuint texture : textures) {
            glDeleteTextures(1, &texture);
        }
        delete models;
        models = nullptr;
    }

    static const ImportedModel& model(const char* path) { return models->at(path); }

    // Runs `check` on every mesh of every demo model, naming the model and mesh on failure.
    template <typename Check> static void forEachMesh(Check check) {
        for (const ModelFile& file : demoModels) {
            const std::vector<Mesh*>& meshes = model(file.path).meshes;
            for (size_t m = 0; m < meshes.size(); ++m) {
                SCOPED_TRACE(testing::Message() << file.path << " mesh " << m);
                check(*meshes[m]);
            }
        }
    }

    static std::map<std::string, ImportedModel>* models;
};

std::map<std::string, ImportedModel>* DemoDataTest::models = nullptr;

// The texture paths the material files name with map_Kd, relative to Models/.
std::vector<std::string> materialTexturePaths() {
    std::vector<std::string> paths;
    for (const fs::directory_entry& entry : fs::directory_iterator("./Models")) {
        if (entry.path().extension() != ".mtl") {
            continue;
        }
        std::ifstream file(entry.path());
        std::string line;
        while (std::getline(file, line)) {
            std::istringstream words(line);
            std::string keyword;
            std::string path;
            if (words >> keyword && keyword == "map_Kd" && words >> path) {
                paths.push_back(path);
            }
        }
    }
    return paths;
}

// What the texture loader uploads without conversion, at a size that mipmaps cleanly and keeps
// the committed folder small.
void expectDemoTexture(const fs::path& file) {
    ASSERT_TRUE(fs::is_regular_file(file));
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(file.c_str(), 0);
    ASSERT_NE(format, FIF_UNKNOWN);
    FIBITMAP* image = FreeImage_Load(format, file.c_str(), 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(FreeImage_GetImageType(image), FIT_BITMAP);
    EXPECT_EQ(FreeImage_GetBPP(image), 24u);
    for (const unsigned size : {FreeImage_GetWidth(image), FreeImage_GetHeight(image)}) {
        EXPECT_TRUE(size == 512 || size == 1024) << "size " << size;
    }
    FreeImage_Unload(image);
}

TEST_F(DemoDataTest, EveryModelImportsWithoutAMessageIntoOneMeshPerMaterial) {
    for (const ModelFile& file : demoModels) {
        SCOPED_TRACE(file.path);
        const ImportedModel& imported = model(file.path);
        EXPECT_TRUE(imported.imported);
        EXPECT_EQ(imported.printed.find("could not be opened"), std::string::npos)
            << imported.printed;
        EXPECT_EQ(imported.errors, "");
        EXPECT_EQ(imported.meshes.size(), file.meshCount) << "one mesh per material";
    }
}

TEST_F(DemoDataTest, EveryMeshIsAPlainTriangleListWithinSixteenBitIndices) {
    forEachMesh([](const Mesh& mesh) {
        EXPECT_GT(mesh.vertexCount(), 0);
        EXPECT_EQ(static_cast<size_t>(mesh.vertexCount()), mesh.positions().size());
        EXPECT_EQ(mesh.vertexCount() % 3, 0);
        EXPECT_LE(mesh.positions().size(), maxVerticesPerMesh);
        // One vertex per face corner, in order: the non-indexed draw shows the same triangles.
        for (size_t i = 0; i < mesh.indices().size(); ++i) {
            if (mesh.indices()[i] != i) {
                ADD_FAILURE() << "index " << i << " is " << mesh.indices()[i];
                break;
            }
        }
    });
}

TEST_F(DemoDataTest, EveryMeshHasNormalsOfOneLengthUnitOrGlowing) {
    size_t glowing = 0;
    forEachMesh([&glowing](const Mesh& mesh) {
        ASSERT_FALSE(mesh.normals().empty());
        ASSERT_EQ(mesh.normals().size(), mesh.positions().size());
        const double meshLength = glm::length(glm::dvec3(mesh.normals()[0]));
        EXPECT_GE(meshLength, 1.0 - unitNormalTolerance);
        EXPECT_LE(meshLength, 1.0 + strongestGlow);
        if (meshLength > 1.0 + unitNormalTolerance) {
            ++glowing;
        }
        size_t wrong = 0;
        for (size_t i = 0; i < mesh.normals().size(); ++i) {
            const double length = glm::length(glm::dvec3(mesh.normals()[i]));
            if (!(std::abs(length - meshLength) <= unitNormalTolerance * meshLength) &&
                wrong++ == 0) {
                ADD_FAILURE() << "normal " << i << " has length " << length << ", the mesh's "
                              << "first one " << meshLength;
            }
        }
        EXPECT_EQ(wrong, 0u) << "normals of differing length: glow that varies within a mesh";
    });
    EXPECT_EQ(glowing, glowingRoomMeshes) << "meshes that glow (normals longer than 1)";
}

TEST_F(DemoDataTest, EveryMeshIsTexturedWithCoordinatesOnEveryVertex) {
    forEachMesh([](const Mesh& mesh) {
        EXPECT_NE(mesh.texture(), 0u);
        EXPECT_TRUE(glIsTexture(mesh.texture()));
        EXPECT_EQ(mesh.uvs().size(), mesh.positions().size());
    });
}

TEST_F(DemoDataTest, EveryTextureTheMaterialsNameIsA24BitImageOf512Or1024) {
    const std::vector<std::string> paths = materialTexturePaths();
    ASSERT_FALSE(paths.empty());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        expectDemoTexture(fs::path("./Models") / path);
    }
}

TEST_F(DemoDataTest, EveryTriangleWindsCounterClockwiseAroundItsNormals) {
    forEachMesh([](const Mesh& mesh) {
        ASSERT_EQ(mesh.normals().size(), mesh.positions().size());
        size_t wrong = 0;
        for (size_t first = 0; first + 2 < mesh.positions().size(); first += 3) {
            const glm::dvec3 p0(mesh.positions()[first]);
            const glm::dvec3 p1(mesh.positions()[first + 1]);
            const glm::dvec3 p2(mesh.positions()[first + 2]);
            const glm::dvec3 face = glm::cross(p1 - p0, p2 - p0);
            const glm::dvec3 normals = glm::dvec3(mesh.normals()[first]) +
                                       glm::dvec3(mesh.normals()[first + 1]) +
                                       glm::dvec3(mesh.normals()[first + 2]);
            // A degenerate triangle (zero face normal) fails too: it is wasted data.
            if (!(glm::dot(face, normals) > 0.0) && wrong++ == 0) {
                ADD_FAILURE() << "triangle " << first / 3 << " at (" << p0.x << ", " << p0.y << ", "
                              << p0.z << ") faces away from its normals";
            }
        }
        EXPECT_EQ(wrong, 0u) << "triangles that back-face culling would hide from the side "
                                "their normals light";
    });
}

} // namespace
