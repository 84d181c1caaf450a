// The arrow volley with real arrows: loading the three models in firing order, moving and
// drawing only the arrow in flight, and the end of the sequence.
#include "scene/ArrowVolley.h"
#include "assets/Mesh.h"
#include "render/FrameSize.h"
#include "render/ShaderProgram.h"
#include "render/ShadowMap.h"
#include "scene/Arrow.h"
#include "support/DrawCapture.h"
#include "support/DrawPrograms.h"
#include "support/GlTestUtil.h"
#include "support/Process.h"
#include "support/ScopedIo.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// One triangle whose first corner's x tells the files apart.
std::string arrowObj(int number) {
    const std::string x = std::to_string(number);
    return "v " + x + " 0 0\nv " + x + ".5 0 0\nv " + x + " 1 0\n" + "vn 0 0 1\n" +
           "f 1//1 2//1 3//1\n";
}

const glm::mat4 projection = glm::perspective(0.8f, 16.0f / 9.0f, 0.1f, 100.0f);
const glm::mat4 view =
    glm::lookAt(glm::vec3(0.0f, 2.0f, 5.0f), glm::vec3(0.0f, 0.0f, -10.0f), glm::vec3(0, 1, 0));
const glm::mat4 lightVP = glm::ortho(-30.0f, 30.0f, -30.0f, 30.0f, 1.0f, 80.0f) *
                          glm::lookAt(glm::vec3(0, 30, 0), glm::vec3(0), glm::vec3(0, 0, -1));

// 1/8 s frames keep every position and timer value exact.
const float dt = 0.125f;

class ArrowVolleyTest : public DrawProgramsTest {
  protected:
    static void SetUpTestSuite() {
        DrawProgramsTest::SetUpTestSuite();
        shadow = new ShadowMap(*depth);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        target = new ColourTarget;
    }
    static void TearDownTestSuite() {
        delete target;
        delete shadow;
        DrawProgramsTest::TearDownTestSuite();
    }

    ArrowVolleyTest() {
        for (int number = 1; number <= 3; ++number) {
            models.writeFile("Models/arrow" + std::to_string(number) + ".obj", arrowObj(number));
        }
        // The arrows load "./Models/arrowN.obj" relative to the working directory.
        ScopedWorkingDirectory inModels(models.path());
        volley = std::make_unique<ArrowVolley>(shading, depth, target->framebuffer());
    }

    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glUseProgram(0);
        glViewport(0, 0, frameWidth, frameHeight);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // One frame's update; returns the triangles it drew.
    GLuint update() {
        return trianglesDrawnBy([&] {
            volley->update(projection, view, lightVP, lightVP, shadow->depthTexture(),
                           shadow->depthTexture(), dt);
        });
    }
    float z(int arrow) const { return volley->arrows()[arrow]->modelMatrix[3][2]; }

    TempDirectory models;
    std::unique_ptr<ArrowVolley> volley;

    static ShadowMap* shadow;
    static ColourTarget* target;
};

ShadowMap* ArrowVolleyTest::shadow = nullptr;
ColourTarget* ArrowVolleyTest::target = nullptr;

TEST_F(ArrowVolleyTest, LoadsTheThreeArrowsInFiringOrderAtTheIdentity) {
    ASSERT_EQ(volley->arrows().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Arrow& arrow = *volley->arrows()[i];
        EXPECT_EQ(arrow.modelMatrix, glm::mat4(1.0f));
        ASSERT_EQ(arrow.meshes().size(), 1u);
        EXPECT_EQ(arrow.meshes()[0]->positions()[0].x, static_cast<float>(i + 1));
        EXPECT_NE(arrow.meshes()[0]->vao(), 0u) << "bound to the programs at construction";
        EXPECT_EQ(arrow.targetFramebuffer(), target->framebuffer());
    }
    EXPECT_EQ(volley->currentArrow(), volley->arrows()[0]);
    EXPECT_FALSE(volley->finished());
}

TEST_F(ArrowVolleyTest, UpdateMovesAndDrawsOnlyTheArrowInFlight) {
    EXPECT_EQ(update(), 1u);
    EXPECT_EQ(z(0), -1.25f);
    glm::mat4 moved(1.0f);
    moved[3][2] = -1.25f;
    EXPECT_EQ(volley->arrows()[0]->modelMatrix, moved);
    EXPECT_EQ(volley->arrows()[1]->modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(volley->arrows()[2]->modelMatrix, glm::mat4(1.0f));

    // Drawn after the move (the draw's own products are the draw test's), into the volley's
    // framebuffer.
    const GLuint program = shading->programId();
    glm::mat4 drawnModel(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, "M"), &drawnModel[0][0]);
    EXPECT_EQ(drawnModel, moved);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target->framebuffer()));

    EXPECT_EQ(update(), 1u);
    EXPECT_EQ(z(0), -2.5f);
    EXPECT_EQ(volley->currentArrow(), volley->arrows()[0]);
}

// Which frames draw an arrow, '1' for a frame that draws one: arrow 1's 20 moves, then its stop
// frame and three more that draw nothing (the half-second pause), arrow 2 likewise, then arrow 3's
// six moves and its stop frame, which still draws it where it stuck.
TEST_F(ArrowVolleyTest, PausesDrawNothingAndTheLastArrowStaysDrawnWhereItStuck) {
    std::string drawn;
    while (!volley->finished() && drawn.size() < 100) {
        drawn += update() == 1u ? '1' : '0';
    }
    const std::string flight(20, '1');
    EXPECT_EQ(drawn, flight + "0000" + flight + "0000" + std::string(7, '1'));
    EXPECT_EQ(z(0), -25.0f);
    EXPECT_EQ(z(1), -25.0f);
    EXPECT_EQ(z(2), -7.5f);
}

TEST_F(ArrowVolleyTest, DestroyingTheVolleyReleasesTheArrowsMeshes) {
    std::vector<GLuint> vertexArrays;
    for (const Arrow* arrow : volley->arrows()) {
        vertexArrays.push_back(arrow->meshes()[0]->vao());
    }
    volley.reset();
    for (GLuint vertexArray : vertexArrays) {
        EXPECT_FALSE(glIsVertexArray(vertexArray)) << vertexArray;
    }
}

} // namespace
