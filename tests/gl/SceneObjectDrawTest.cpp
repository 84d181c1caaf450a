// The shaded draws of an arrow and of the room: the uniforms they leave in the standard shading
// program, the bindings they leave behind, and objects whose model could not be read.
#include "render/FrameSize.h"
#include "render/ShaderProgram.h"
#include "render/ShadowMap.h"
#include "scene/Arrow.h"
#include "scene/Scene.h"
#include "support/DrawCapture.h"
#include "support/DrawPrograms.h"
#include "support/GlTestUtil.h"
#include "support/Process.h"
#include "support/ScopedIo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// One triangle facing +z, without material: a mesh with texture 0.
const char* const triangleObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                "vt 0 0\nvt 1 0\nvt 0 1\n"
                                "vn 0 0 1\n"
                                "f 1/1/1 2/2/1 3/3/1\n";

// Matrices simple enough to multiply by hand, every one written out below as its four columns.
// The camera stands at (1.5, 2.5, 6) looking along -z: the view only moves the world by minus
// that. The projection is the frustum reaching -1..1 across at depth 1, with its far plane at 3:
// clip = (x, y, -2z - 3, -z).
const glm::mat4 view({1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-1.5f, -2.5f, -6, 1});
const glm::mat4 projection({1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -2, -1}, {0, 0, -3, 0});
// The fire light's clip space is the world moved 2 along -x and shrunk to a quarter across and
// an eighth in depth: clip = ((x - 2) / 4, y / 4, z / 8). The main light's is the world shrunk
// to a tenth across and a twentieth in depth: clip = (x / 10, y / 10, z / 20).
const glm::mat4 fireLightVP({0.25f, 0, 0, 0}, {0, 0.25f, 0, 0}, {0, 0, 0.125f, 0},
                            {-0.5f, 0, 0, 1});
const glm::mat4 mainLightVP({0.1f, 0, 0, 0}, {0, 0.1f, 0, 0}, {0, 0, 0.05f, 0}, {0, 0, 0, 1});

// Values no draw uploads, written before each draw so that a uniform it skips shows.
const glm::mat4 stale(7.0f);
const GLint staleSampler = 5;

struct NamedMatrix {
    const char* name;
    glm::mat4 value;
};

// The arrow is scaled by (2, 1, 0.5) and then moved to (1, 0.5, -3): every uniform that
// multiplies its model matrix in differs from one that leaves it out, and the uneven scale keeps
// the normal matrix (the inverse transpose) apart from the model matrix itself.
const glm::mat4 arrowModel({2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0.5f, 0}, {1, 0.5f, -3, 1});
const std::vector<NamedMatrix> arrowMatrices = {
    {"M", arrowModel},
    {"V", view},
    // V M puts the arrow's origin at (-0.5, -2, -9), which is clip (-0.5, -2, 15, 9).
    {"MVP", {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, -0.5f}, {-0.5f, -2, 15, 9}}},
    // The inverse scale (0.5, 1, 2), with the inverse's move, (-0.5, -0.5, 6), in the last row.
    {"normalMatrix", {{0.5f, 0, 0, -0.5f}, {0, 1, 0, -0.5f}, {0, 0, 2, 6}, {0, 0, 0, 1}}},
    // Shadow-map texture space is clip / 2 + 1/2 on every axis. The arrow's origin, at world
    // (1, 0.5, -3), is at fire clip (-0.25, 0.125, -0.375) and main clip (0.1, 0.05, -0.15).
    {"fireBiasMVP",
     {{0.25f, 0, 0, 0}, {0, 0.125f, 0, 0}, {0, 0, 0.03125f, 0}, {0.375f, 0.5625f, 0.3125f, 1}}},
    {"lightBiasMVP",
     {{0.1f, 0, 0, 0}, {0, 0.05f, 0, 0}, {0, 0, 0.0125f, 0}, {0.55f, 0.525f, 0.425f, 1}}},
};

// The room is doubled in size and moved to (0, -1, 2); only "M" may show it: the other
// matrices take world points.
const glm::mat4 roomModel({2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, -1, 2, 1});
const std::vector<NamedMatrix> roomMatrices = {
    {"M", roomModel},
    {"V", view},
    // The world's origin is at view (-1.5, -2.5, -6), clip (-1.5, -2.5, 9, 6).
    {"MVP", {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -2, -1}, {-1.5f, -2.5f, 9, 6}}},
    // The world's origin is at fire clip (-0.5, 0, 0) and main clip (0, 0, 0).
    {"fireBiasMVP",
     {{0.125f, 0, 0, 0}, {0, 0.125f, 0, 0}, {0, 0, 0.0625f, 0}, {0.25f, 0.5f, 0.5f, 1}}},
    {"lightBiasMVP",
     {{0.05f, 0, 0, 0}, {0, 0.05f, 0, 0}, {0, 0, 0.025f, 0}, {0.5f, 0.5f, 0.5f, 1}}},
    // The room never sets it: before any arrow it relies on the shader's linked value.
    {"normalMatrix", glm::mat4(1.0f)},
};

// The camera (1.5, 2.5, 6) in the main light's clip space is (0.15, 0.25, 0.3); in its shadow
// map (0.15 / 2 + 0.5, 0.25 / 2 + 0.5, 0.3 / 2 + 0.5). The arrow's model matrix cancels out.
const glm::vec4 cameraShadowCoord(0.575f, 0.625f, 0.65f, 1.0f);

// Whether the uniform `name` reads back as `expected`: a matrix, a vector or a float (samplers
// read back as floats too), within what single-precision products of values up to 15 can miss.
template <typename Value>
testing::AssertionResult uniformIs(GLuint program, const char* name, const Value& expected) {
    const GLint at = glGetUniformLocation(program, name);
    if (at == -1) {
        return testing::AssertionFailure() << '"' << name << "\" is not an active uniform";
    }
    constexpr int count = sizeof(Value) / sizeof(float);
    const float* wanted = reinterpret_cast<const float*>(&expected);
    float actual[count] = {};
    glGetUniformfv(program, at, actual);
    for (int i = 0; i < count; ++i) {
        if (!(std::abs(actual[i] - wanted[i]) <= 1e-4f)) {
            return testing::AssertionFailure()
                   << '"' << name << "\" is "
                   << testing::PrintToString(std::vector(actual, actual + count)) << ", not "
                   << testing::PrintToString(std::vector(wanted, wanted + count));
        }
    }
    return testing::AssertionSuccess();
}

GLint textureOnUnit(GLenum unit) {
    glActiveTexture(unit);
    return glInteger(GL_TEXTURE_BINDING_2D);
}

struct DrawCase {
    const char* name;
    bool arrow; // else the room
    bool modelRead;
};

void PrintTo(const DrawCase& c, std::ostream* out) {
    *out << c.name;
}

class SceneObjectDrawTest : public DrawProgramsTest, public testing::WithParamInterface<DrawCase> {
  protected:
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
        glViewport(0, 0, frameWidth, frameHeight);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // The arrow or the room, importing its model relative to the working directory as the
    // program does; a model that cannot be read is reported on standard error.
    std::unique_ptr<ModelObject> makeObject(bool arrow) {
        ScopedWorkingDirectory inModels(models.path());
        ScopedNullInput noTerminal;
        testing::internal::CaptureStderr();
        std::unique_ptr<ModelObject> object;
        if (arrow) {
            object = std::make_unique<Arrow>(arrowModel, shadingProgram.get(), depth,
                                             "./Models/arrow.obj", target.framebuffer());
        } else {
            object = std::make_unique<Scene>(roomModel, shadingProgram.get(), depth,
                                             target.framebuffer());
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr().empty(), !object->meshes().empty());
        return object;
    }

    // Every uniform the draws set but the normal matrix, given values they never upload; the
    // bindings set to others than the draws leave.
    void makeStale() const {
        const GLuint id = shadingProgram->programId();
        glUseProgram(id);
        for (const char* name : {"MVP", "M", "V", "fireBiasMVP", "lightBiasMVP"}) {
            glUniformMatrix4fv(glGetUniformLocation(id, name), 1, GL_FALSE, &stale[0][0]);
        }
        const glm::vec4 staleCoord(9.0f);
        glUniform4fv(glGetUniformLocation(id, "cameraShadowCoord"), 1, &staleCoord[0]);
        for (const char* name : {"fireShadowMap", "lightShadowMap", "texture_sampler"}) {
            glUniform1i(glGetUniformLocation(id, name), staleSampler);
        }
        glUseProgram(0);
        for (const GLenum unit : {GL_TEXTURE1, GL_TEXTURE2}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, elsewhere.framebuffer());
        glActiveTexture(GL_TEXTURE3);
        glViewport(0, 0, 16, 16);
    }

    TempDirectory models;
    // A program of each test's own, so that no earlier draw has touched its normal matrix.
    const std::unique_ptr<ShaderProgram> shadingProgram =
        demoProgram("./Shader/standardShading.vert", "./Shader/standardShading.frag");
    ShadowMap fireShadow{*depth};
    ShadowMap lightShadow{*depth};
    // Stands in for the scene framebuffer; the other is bound before each draw, so that neither
    // the arrow's target nor the room's unbinding can pass by chance.
    ColourTarget target;
    ColourTarget elsewhere;
};

// An object whose model could not be read draws nothing but still uploads everything and
// binds both shadow maps.
TEST_P(SceneObjectDrawTest, UploadsItsMatricesAndLeavesItsBindings) {
    const DrawCase& c = GetParam();
    if (c.modelRead) {
        models.writeFile(c.arrow ? "Models/arrow.obj" : "Models/room.obj", triangleObj);
    }
    const auto object = makeObject(c.arrow);
    ASSERT_EQ(object->meshes().size(), c.modelRead ? 1u : 0u);
    makeStale();
    EXPECT_EQ(trianglesDrawnBy([&] {
                  object->draw(projection, view, fireLightVP, mainLightVP,
                               fireShadow.depthTexture(), lightShadow.depthTexture());
              }),
              c.modelRead ? 1u : 0u);

    const GLuint program = shadingProgram->programId();
    for (const NamedMatrix& matrix : c.arrow ? arrowMatrices : roomMatrices) {
        EXPECT_TRUE(uniformIs(program, matrix.name, matrix.value));
    }
    EXPECT_TRUE(uniformIs(program, "cameraShadowCoord", cameraShadowCoord));
    EXPECT_TRUE(uniformIs(program, "fireShadowMap", 1.0f));
    EXPECT_TRUE(uniformIs(program, "lightShadowMap", 2.0f));
    if (c.modelRead) {
        EXPECT_TRUE(uniformIs(program, "texture_sampler", 0.0f));
    }

    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(program));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1600);
    EXPECT_EQ(viewport[3], 900);
    // The arrow leaves the scene framebuffer bound for the next arrow; the room unbinds it.
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING),
              c.arrow ? static_cast<GLint>(target.framebuffer()) : 0);
    // A mesh draw selects unit 0 for its texture; without meshes the last unit selected was the
    // main light's shadow map.
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), c.modelRead ? GL_TEXTURE0 : GL_TEXTURE2);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE1), static_cast<GLint>(fireShadow.depthTexture()));
    EXPECT_EQ(textureOnUnit(GL_TEXTURE2), static_cast<GLint>(lightShadow.depthTexture()));
}

const DrawCase drawCases[] = {
    {"Arrow", true, true},
    {"ArrowWithoutItsModel", true, false},
    {"Room", false, true},
    {"RoomWithoutItsModel", false, false},
};
INSTANTIATE_TEST_SUITE_P(SceneObjectDraw, SceneObjectDrawTest, testing::ValuesIn(drawCases),
                         [](const testing::TestParamInfo<DrawCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
