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

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <vector>

namespace {

// One triangle facing +z, without material: a mesh with texture 0.
const char* const triangleObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                "vt 0 0\nvt 1 0\nvt 0 1\n"
                                "vn 0 0 1\n"
                                "f 1/1/1 2/2/1 3/3/1\n";

const glm::vec3 up(0.0f, 1.0f, 0.0f);
const glm::vec3 cameraPosition(1.5f, 2.5f, 6.0f);
const glm::mat4 projection = glm::perspective(0.8f, 16.0f / 9.0f, 0.1f, 100.0f);
const glm::mat4 view = glm::lookAt(cameraPosition, glm::vec3(0.0f, 1.0f, -4.0f), up);
// Light view-projections simple enough to project points by hand. The fire light's clip space is
// the world moved 2 along -x and shrunk to a quarter across and an eighth in depth:
// clip = ((x - 2) / 4, y / 4, z / 8). The main light's is the world shrunk to a tenth across and a
// twentieth in depth: clip = (x / 10, y / 10, z / 20). Both keep w = 1.
const glm::mat4 fireLightVP = glm::scale(glm::mat4(1.0f), glm::vec3(0.25f, 0.25f, 0.125f)) *
                              glm::translate(glm::mat4(1.0f), glm::vec3(-2.0f, 0.0f, 0.0f));
const glm::mat4 mainLightVP = glm::scale(glm::mat4(1.0f), glm::vec3(0.1f, 0.1f, 0.05f));
// An arrow turned and moved: every uniform that multiplies the model matrix in differs from one
// that leaves it out. The turn keeps the arrow's origin in place, so it lands at (1, 0.5, -3).
const glm::mat4 arrowModel = glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 0.5f, -3.0f)) *
                             glm::rotate(glm::mat4(1.0f), 0.6f, glm::normalize(glm::vec3(1, 1, 0)));

// A world point and the shadow-map coordinate it must get: clip space -1..1 becomes texture
// space 0..1 on every axis, texture = clip / 2 + 1/2, with w staying 1.
struct MapPoint {
    glm::vec3 world;
    glm::vec3 texture;
};

// Four points not in one plane for each light: a matrix that takes all four where they belong
// is the right matrix in every entry.
const std::vector<MapPoint> fireLightPoints = {
    {{2.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.5f}},     // clip (0, 0, 0): the middle of the map
    {{6.0f, -4.0f, 8.0f}, {1.0f, 0.0f, 1.0f}},    // clip (1, -1, 1)
    {{-2.0f, 4.0f, 8.0f}, {0.0f, 1.0f, 1.0f}},    // clip (-1, 1, 1)
    {{4.0f, 2.0f, -4.0f}, {0.75f, 0.75f, 0.25f}}, // clip (0.5, 0.5, -0.5)
};
const std::vector<MapPoint> mainLightPoints = {
    {{0.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.5f}},      // clip (0, 0, 0): the middle of the map
    {{10.0f, -10.0f, 20.0f}, {1.0f, 0.0f, 1.0f}},  // clip (1, -1, 1)
    {{-10.0f, 10.0f, 20.0f}, {0.0f, 1.0f, 1.0f}},  // clip (-1, 1, 1)
    {{5.0f, 5.0f, -10.0f}, {0.75f, 0.75f, 0.25f}}, // clip (0.5, 0.5, -0.5)
};

// The camera (1.5, 2.5, 6) in the main light's clip space is (0.15, 0.25, 0.3); in its shadow
// map (0.15 / 2 + 0.5, 0.25 / 2 + 0.5, 0.3 / 2 + 0.5).
const glm::vec4 cameraShadowCoord(0.575f, 0.625f, 0.65f, 1.0f);

// Values no draw uploads, written before each draw so that a uniform it skips shows.
const glm::mat4 stale(7.0f);
const GLint staleSampler = 5;

std::string describe(const float* values, int count) {
    std::ostringstream text;
    for (int i = 0; i < count; ++i) {
        text << (i > 0 ? ", " : "") << values[i];
    }
    return text.str();
}

// Compares `count` floats, with a tolerance relative to the largest expected magnitude: the draw
// multiplies in single precision, the expected values come from hand or from the same products.
testing::AssertionResult near(const float* actual, const float* expected, int count) {
    float scale = 1.0f;
    for (int i = 0; i < count; ++i) {
        scale = std::max(scale, std::abs(expected[i]));
    }
    for (int i = 0; i < count; ++i) {
        if (!(std::abs(actual[i] - expected[i]) <= 1e-5f * scale)) {
            return testing::AssertionFailure()
                   << "element " << i << ": (" << describe(actual, count) << ") instead of ("
                   << describe(expected, count) << ")";
        }
    }
    return testing::AssertionSuccess();
}

GLint location(GLuint program, const char* name) {
    return glGetUniformLocation(program, name);
}

testing::AssertionResult uniformIs(GLuint program, const char* name, const glm::mat4& expected) {
    const GLint at = location(program, name);
    if (at == -1) {
        return testing::AssertionFailure() << '"' << name << "\" is not an active uniform";
    }
    glm::mat4 actual(0.0f);
    glGetUniformfv(program, at, &actual[0][0]);
    return near(&actual[0][0], &expected[0][0], 16) << " in \"" << name << '"';
}

testing::AssertionResult uniformIs(GLuint program, const char* name, const glm::vec4& expected) {
    const GLint at = location(program, name);
    if (at == -1) {
        return testing::AssertionFailure() << '"' << name << "\" is not an active uniform";
    }
    glm::vec4 actual(0.0f);
    glGetUniformfv(program, at, &actual[0]);
    return near(&actual[0], &expected[0], 4) << " in \"" << name << '"';
}

testing::AssertionResult samplerIs(GLuint program, const char* name, GLint expected) {
    const GLint at = location(program, name);
    if (at == -1) {
        return testing::AssertionFailure() << '"' << name << "\" is not an active uniform";
    }
    GLint actual = -1;
    glGetUniformiv(program, at, &actual);
    if (actual != expected) {
        return testing::AssertionFailure()
               << '"' << name << "\" is " << actual << ", not " << expected;
    }
    return testing::AssertionSuccess();
}

std::string describe(const glm::vec3& point) {
    std::ostringstream text;
    text << '(' << point.x << ", " << point.y << ", " << point.z << ')';
    return text.str();
}

// Whether the matrix uniform `name` takes `point` to the shadow-map coordinate `expected` (with
// w = 1); `what` names the point in a failure.
testing::AssertionResult takes(GLuint program, const char* name, const glm::vec4& point,
                               const glm::vec3& expected, const std::string& what) {
    const GLint at = location(program, name);
    if (at == -1) {
        return testing::AssertionFailure() << '"' << name << "\" is not an active uniform";
    }
    glm::mat4 matrix(0.0f);
    glGetUniformfv(program, at, &matrix[0][0]);
    const glm::vec4 actual = matrix * point;
    const glm::vec4 wanted(expected, 1.0f);
    if (!near(&actual[0], &wanted[0], 4)) {
        return testing::AssertionFailure()
               << '"' << name << "\" takes " << what << " to (" << describe(&actual[0], 4)
               << ") instead of (" << describe(&wanted[0], 4) << ')';
    }
    return testing::AssertionSuccess();
}

// Whether the matrix uniform `name` takes each of `points`, carried into the space the matrix
// starts from by `fromWorld`, to its shadow-map coordinate.
testing::AssertionResult mapsToShadowMap(GLuint program, const char* name,
                                         const std::vector<MapPoint>& points,
                                         const glm::mat4& fromWorld = glm::mat4(1.0f)) {
    for (const MapPoint& point : points) {
        testing::AssertionResult result =
            takes(program, name, fromWorld * glm::vec4(point.world, 1.0f), point.texture,
                  "world point " + describe(point.world));
        if (!result) {
            return result;
        }
    }
    return testing::AssertionSuccess();
}

GLint textureOnUnit(GLenum unit) {
    glActiveTexture(unit);
    return glInteger(GL_TEXTURE_BINDING_2D);
}

class SceneObjectDrawTest : public DrawProgramsTest {
  protected:
    static void SetUpTestSuite() {
        DrawProgramsTest::SetUpTestSuite();
        fireShadow = new ShadowMap(*depth);
        lightShadow = new ShadowMap(*depth);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        // Stands in for the scene framebuffer.
        colourTarget = new ColourTarget;
        target = colourTarget->framebuffer();
    }
    static void TearDownTestSuite() {
        delete colourTarget;
        delete fireShadow;
        delete lightShadow;
        DrawProgramsTest::TearDownTestSuite();
    }

    SceneObjectDrawTest() {
        models.writeFile("Models/arrow.obj", triangleObj);
        models.writeFile("Models/room.obj", triangleObj);
    }

    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
        glViewport(0, 0, frameWidth, frameHeight);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // Objects import their model relative to the working directory, as the program does.
    std::unique_ptr<Arrow> makeArrow(const char* path, const ShaderProgram& program) {
        ScopedWorkingDirectory inModels(models.path());
        return std::make_unique<Arrow>(arrowModel, &program, depth, path, target);
    }
    std::unique_ptr<Scene> makeRoom(const glm::mat4& modelMatrix, const ShaderProgram& program) {
        ScopedWorkingDirectory inModels(models.path());
        return std::make_unique<Scene>(modelMatrix, &program, depth, target);
    }

    // Every uniform the draws set, given values they never upload; the bindings set to others
    // than the draws leave.
    static void makeStale(const ShaderProgram& program) {
        const GLuint id = program.programId();
        glUseProgram(id);
        for (const char* name : {"MVP", "M", "V", "fireBiasMVP", "lightBiasMVP", "normalMatrix"}) {
            glUniformMatrix4fv(location(id, name), 1, GL_FALSE, &stale[0][0]);
        }
        const glm::vec4 staleCoord(9.0f);
        glUniform4fv(location(id, "cameraShadowCoord"), 1, &staleCoord[0]);
        for (const char* name : {"fireShadowMap", "lightShadowMap", "texture_sampler"}) {
            glUniform1i(location(id, name), staleSampler);
        }
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glActiveTexture(GL_TEXTURE3);
        glViewport(0, 0, 16, 16);
    }

    static void draw(SceneObject& object) {
        object.draw(projection, view, fireLightVP, mainLightVP, fireShadow->depthTexture(),
                    lightShadow->depthTexture());
    }

    // What the arrow draw leaves, mesh or not: program, viewport, the shadow maps on units 1
    // and 2, and the uniforms that do not depend on the meshes.
    static void expectArrowUniforms(GLuint program) {
        EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(program));
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 1600);
        EXPECT_EQ(viewport[3], 900);

        EXPECT_TRUE(uniformIs(program, "MVP", projection * view * arrowModel));
        EXPECT_TRUE(uniformIs(program, "M", arrowModel));
        EXPECT_TRUE(uniformIs(program, "V", view));
        // The shadow-map matrices start from the arrow's own space: the point its model matrix
        // puts at a world point must land where that world point does.
        const glm::mat4 objectFromWorld = glm::inverse(arrowModel);
        EXPECT_TRUE(mapsToShadowMap(program, "fireBiasMVP", fireLightPoints, objectFromWorld));
        EXPECT_TRUE(mapsToShadowMap(program, "lightBiasMVP", mainLightPoints, objectFromWorld));
        // The arrow's origin, at world (1, 0.5, -3), by hand: fire clip (-1 / 4, 0.5 / 4, -3 / 8),
        // main clip (1 / 10, 0.5 / 10, -3 / 20).
        const glm::vec4 origin(0.0f, 0.0f, 0.0f, 1.0f);
        EXPECT_TRUE(takes(program, "fireBiasMVP", origin, {0.375f, 0.5625f, 0.3125f},
                          "the arrow's origin"));
        EXPECT_TRUE(
            takes(program, "lightBiasMVP", origin, {0.55f, 0.525f, 0.425f}, "the arrow's origin"));
        EXPECT_TRUE(uniformIs(program, "normalMatrix", glm::transpose(glm::inverse(arrowModel))));
        // The model matrix cancels out: the camera in the main light's shadow-map space.
        EXPECT_TRUE(uniformIs(program, "cameraShadowCoord", cameraShadowCoord));
        EXPECT_TRUE(samplerIs(program, "fireShadowMap", 1));
        EXPECT_TRUE(samplerIs(program, "lightShadowMap", 2));
    }

    static void expectShadowMapsBound() {
        const GLint active = glInteger(GL_ACTIVE_TEXTURE);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE1), static_cast<GLint>(fireShadow->depthTexture()));
        EXPECT_EQ(textureOnUnit(GL_TEXTURE2), static_cast<GLint>(lightShadow->depthTexture()));
        glActiveTexture(static_cast<GLenum>(active));
    }

    TempDirectory models;

    static ShadowMap* fireShadow;
    static ShadowMap* lightShadow;
    static ColourTarget* colourTarget;
    static GLuint target;
};

ShadowMap* SceneObjectDrawTest::fireShadow = nullptr;
ShadowMap* SceneObjectDrawTest::lightShadow = nullptr;
ColourTarget* SceneObjectDrawTest::colourTarget = nullptr;
GLuint SceneObjectDrawTest::target = 0;

TEST_F(SceneObjectDrawTest, ArrowDrawUploadsMatricesThatIncludeItsModelMatrix) {
    const auto arrow = makeArrow("./Models/arrow.obj", *shading);
    ASSERT_EQ(arrow->meshes().size(), 1u);
    makeStale(*shading);
    EXPECT_EQ(trianglesDrawnBy([&] { draw(*arrow); }), 1u);

    expectArrowUniforms(shading->programId());
    EXPECT_TRUE(samplerIs(shading->programId(), "texture_sampler", 0));
}

TEST_F(SceneObjectDrawTest, ArrowDrawLeavesItsTargetFramebufferBoundAndUnitZeroActive) {
    const auto arrow = makeArrow("./Models/arrow.obj", *shading);
    makeStale(*shading);
    draw(*arrow);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target));
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(shading->programId()));
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0) << "the mesh has no texture";
    expectShadowMapsBound();
}

TEST_F(SceneObjectDrawTest, ArrowWithoutMeshesUploadsEverythingAndDrawsNothing) {
    std::unique_ptr<Arrow> arrow;
    {
        ScopedNullInput noTerminal;
        testing::internal::CaptureStderr();
        arrow = makeArrow("./Models/missing.obj", *shading);
        EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    }
    ASSERT_TRUE(arrow->meshes().empty());
    makeStale(*shading);
    EXPECT_EQ(trianglesDrawnBy([&] { draw(*arrow); }), 0u);

    expectArrowUniforms(shading->programId());
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target));
    // The last unit selected was the main light's shadow map.
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    expectShadowMapsBound();
}

TEST_F(SceneObjectDrawTest, RoomDrawUploadsMatricesWithoutItsModelMatrixAndUnbindsTheTarget) {
    // A room moved off the origin: only "M" may show it.
    const glm::mat4 roomModel = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -1.0f, 2.0f)) *
                                glm::scale(glm::mat4(1.0f), glm::vec3(2.0f));
    const auto room = makeRoom(roomModel, *shading);
    ASSERT_EQ(room->meshes().size(), 1u);
    makeStale(*shading);
    EXPECT_EQ(trianglesDrawnBy([&] { draw(*room); }), 1u);

    const GLuint program = shading->programId();
    EXPECT_TRUE(uniformIs(program, "M", roomModel));
    EXPECT_TRUE(uniformIs(program, "MVP", projection * view));
    EXPECT_TRUE(uniformIs(program, "V", view));
    // The room's shadow-map matrices take world points, whatever its model matrix.
    EXPECT_TRUE(mapsToShadowMap(program, "fireBiasMVP", fireLightPoints));
    EXPECT_TRUE(mapsToShadowMap(program, "lightBiasMVP", mainLightPoints));
    EXPECT_TRUE(uniformIs(program, "cameraShadowCoord", cameraShadowCoord));
    EXPECT_TRUE(uniformIs(program, "normalMatrix", stale)) << "the room never sets it";
    EXPECT_TRUE(samplerIs(program, "fireShadowMap", 1));
    EXPECT_TRUE(samplerIs(program, "lightShadowMap", 2));
    EXPECT_TRUE(samplerIs(program, "texture_sampler", 0));

    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(program));
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1600);
    EXPECT_EQ(viewport[3], 900);
    expectShadowMapsBound();
}

TEST_F(SceneObjectDrawTest, ArrowAndRoomPutTheCameraAtTheSameShadowMapCoordinate) {
    const auto arrow = makeArrow("./Models/arrow.obj", *shading);
    const auto room = makeRoom(glm::mat4(1.0f), *shading);
    const GLuint program = shading->programId();
    const GLint at = location(program, "cameraShadowCoord");
    ASSERT_NE(at, -1) << "\"cameraShadowCoord\" is not an active uniform";

    makeStale(*shading);
    draw(*arrow);
    glm::vec4 fromArrow(0.0f);
    glGetUniformfv(program, at, &fromArrow[0]);
    makeStale(*shading);
    draw(*room);
    glm::vec4 fromRoom(0.0f);
    glGetUniformfv(program, at, &fromRoom[0]);

    EXPECT_TRUE(near(&fromArrow[0], &fromRoom[0], 4));
    EXPECT_TRUE(near(&fromRoom[0], &cameraShadowCoord[0], 4));
}

TEST_F(SceneObjectDrawTest, NormalMatrixStartsAsIdentityAndKeepsTheLastArrowsValue) {
    // A program of its own, so that no earlier draw has touched its uniforms.
    const std::unique_ptr<ShaderProgram> freshProgram =
        demoProgram("./Shader/standardShading.vert", "./Shader/standardShading.frag");
    const ShaderProgram& fresh = *freshProgram;
    const GLuint program = fresh.programId();
    EXPECT_TRUE(uniformIs(program, "normalMatrix", glm::mat4(1.0f)));

    const auto room = makeRoom(glm::mat4(1.0f), fresh);
    const auto arrow = makeArrow("./Models/arrow.obj", fresh);
    draw(*room);
    EXPECT_TRUE(uniformIs(program, "normalMatrix", glm::mat4(1.0f)))
        << "before any arrow the room sees the linked value";
    draw(*arrow);
    const glm::mat4 arrowNormals = glm::transpose(glm::inverse(arrowModel));
    EXPECT_TRUE(uniformIs(program, "normalMatrix", arrowNormals));
    draw(*room);
    EXPECT_TRUE(uniformIs(program, "normalMatrix", arrowNormals))
        << "the room keeps what the last arrow uploaded";
}

TEST_F(SceneObjectDrawTest, RoomWithoutItsModelFileDrawsNothingButStillUploadsAndUnbinds) {
    std::filesystem::remove(models.path() / "Models/room.obj");
    std::unique_ptr<Scene> room;
    {
        ScopedNullInput noTerminal;
        testing::internal::CaptureStderr();
        room = makeRoom(glm::mat4(1.0f), *shading);
        EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    }
    ASSERT_TRUE(room->meshes().empty());
    makeStale(*shading);
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    EXPECT_EQ(trianglesDrawnBy([&] { draw(*room); }), 0u);

    const GLuint program = shading->programId();
    EXPECT_TRUE(uniformIs(program, "MVP", projection * view));
    EXPECT_TRUE(uniformIs(program, "M", glm::mat4(1.0f)));
    EXPECT_TRUE(uniformIs(program, "cameraShadowCoord", cameraShadowCoord));
    EXPECT_TRUE(samplerIs(program, "lightShadowMap", 2));
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
}

} // namespace
