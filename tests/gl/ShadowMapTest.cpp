// A light's shadow map: the depths its pass writes, the state the pass leaves behind, and the
// comparison its texture asks for.
#include "render/ShadowMap.h"
#include "assets/Mesh.h"
#include "render/FrameSize.h"
#include "render/ShaderProgram.h"
#include "scene/SceneObject.h"
#include "support/DrawPrograms.h"
#include "support/GlTestUtil.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const int mapSize = 1024;

// Two triangles, since meshes draw unindexed.
std::vector<glm::vec3> squareCorners(float h, float z) {
    return {{-h, -h, z}, {h, -h, z}, {h, h, z}, {-h, -h, z}, {h, h, z}, {-h, h, z}};
}

// The smallest shadow caster, drawn by the depth pass only: the square |x|, |y| <= half at
// height z, facing +z (towards the light), moved by its model matrix.
class Square : public SceneObject {
  public:
    Square(const ShaderProgram& depthProgram, float half, float z,
           const glm::mat4& modelMatrix = glm::mat4(1.0f))
        : SceneObject(modelMatrix), mesh_({0, 1, 2, 3, 4, 5}, squareCorners(half, z), {}, {}, 0) {
        mesh_.bindDepthProgram(depthProgram);
    }

    void drawGeometry() override { mesh_.draw(); }
    void draw(const glm::mat4&, const glm::mat4&, const glm::mat4&, const glm::mat4&, GLuint,
              GLuint) override {}

  private:
    Mesh mesh_;
};

// The light: at (0, 0, 10) looking down -z, an orthographic box 4 units wide from 1 to 20 units
// away, so a surface's stored depth is (distance - 1) / 19 and world x, y in [-2, 2] map to
// texels 0 to 1024.
const glm::mat4 lightVP = glm::ortho(-2.0f, 2.0f, -2.0f, 2.0f, 1.0f, 20.0f) *
                          glm::lookAt(glm::vec3(0, 0, 10), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));

float depthAtDistance(float distance) {
    return (distance - 1.0f) / 19.0f;
}

// The texel column (or row) of world coordinate x (or y).
int texelOf(float coordinate) {
    return static_cast<int>((coordinate + 2.0f) / 4.0f * mapSize);
}

class ShadowMapTest : public DrawProgramsTest {
  protected:
    // The global state the program sets up once: depth test with GL_LESS, back faces culled.
    void SetUp() override {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
    void TearDown() override {
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glUseProgram(0);
        glViewport(0, 0, frameWidth, frameHeight);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // Row-major depths of the map, bottom row first.
    static std::vector<float> readDepths(GLuint texture) {
        std::vector<float> depths(static_cast<size_t>(mapSize) * mapSize, -1.0f);
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return depths;
    }

    static float depthAt(const std::vector<float>& depths, int x, int y) {
        return depths[static_cast<size_t>(y) * mapSize + x];
    }
};

TEST_F(ShadowMapTest, ANearerSquareInFrontOfAPlaneLeavesItsDepthWhereItStands) {
    ShadowMap map(*depth);
    // The plane: the square |x|, |y| <= 1.5 at z = 0, facing the light; the rim of the map
    // outside it sees nothing.
    Square plane(*depth, 1.5f, 0.0f);
    // The nearer square: a unit square moved by its model matrix to x in [0, 1], y in [-0.5, 0.5]
    // and z = 2, 8 units from the light.
    Square nearer(*depth, 0.5f, 0.0f, glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, 0.0f, 2.0f)));

    // The nearer square first: the plane drawn after it must not overwrite the nearer depth. The
    // pass starts from the window's framebuffer, a shading program and the window's viewport, as a
    // frame leaves them.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(shading->programId());
    glViewport(0, 0, frameWidth, frameHeight);
    map.render({&nearer, &plane}, lightVP);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4),
              (std::vector<GLint>{0, 0, mapSize, mapSize}));

    // What this GL overlooks and stricter ones do not: a shadow lookup compares with the stored
    // depth only because the texture asks for it (this one compares through any shadow
    // sampler), and a framebuffer without colour attachments must draw to no colour buffer
    // (this one leaves the missing buffer alone).
    GLint compareMode = 0;
    GLint compareFunction = 0;
    glBindTexture(GL_TEXTURE_2D, map.depthTexture());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compareMode);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, &compareFunction);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(compareMode, GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(compareFunction, GL_LESS);
    glBindFramebuffer(GL_FRAMEBUFFER, map.shadowFramebuffer());
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER), GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    const std::vector<float> depths = readDepths(map.depthTexture());
    // The projection gives these depths to a few parts in 10^7, and 24-bit storage rounds them
    // by at most 3e-8. 16-bit storage, whose steps show as shadow acne, would round the nearer
    // square's 7 / 19 = 24144.47 / 65535 by 7.2e-6.
    const float tolerance = 2e-6f;
    const float planeDepth = depthAtDistance(10.0f);
    const float nearerDepth = depthAtDistance(8.0f);
    const int middle = texelOf(0.0f);
    EXPECT_NEAR(depthAt(depths, texelOf(0.5f), middle), nearerDepth, tolerance);
    // Inside the moved square but outside where the unmoved one would be: the model matrix counts.
    EXPECT_NEAR(depthAt(depths, texelOf(0.9f), texelOf(0.4f)), nearerDepth, tolerance);
    EXPECT_NEAR(depthAt(depths, texelOf(-0.3f), middle), planeDepth, tolerance);
    EXPECT_NEAR(depthAt(depths, texelOf(1.2f), middle), planeDepth, tolerance);
    EXPECT_NEAR(depthAt(depths, middle, texelOf(1.0f)), planeDepth, tolerance);
    EXPECT_EQ(depthAt(depths, 5, 5), 1.0f);
    EXPECT_EQ(depthAt(depths, mapSize - 5, middle), 1.0f);

    // The 1 x 1 square covers 1/16 of the light's 4 x 4 view, give or take a row of texels
    // along each edge.
    int nearerTexels = 0;
    for (float d : depths) {
        nearerTexels += std::abs(d - nearerDepth) < 1e-3f ? 1 : 0;
    }
    EXPECT_NEAR(nearerTexels, mapSize * mapSize / 16, 2 * mapSize / 4 + 1);
}

// The same plane seen through a light moved 2 units closer: the stored depth follows the matrix
// given to render, not anything kept from an earlier pass. A second map's pass leaves the first
// map alone, and a pass with nothing to draw still clears the map to the far depth.
TEST_F(ShadowMapTest, EachPassClearsItsOwnMapAndPlacesTheCastersWithTheLightsMatrix) {
    ShadowMap map(*depth);
    Square plane(*depth, 3.0f, 0.0f);
    map.render({&plane}, lightVP);
    EXPECT_NEAR(readDepths(map.depthTexture())[0], depthAtDistance(10.0f), 1e-3f);
    const glm::mat4 closer = lightVP * glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 2));
    map.render({&plane}, closer);
    EXPECT_NEAR(readDepths(map.depthTexture())[0], depthAtDistance(8.0f), 1e-3f);

    ShadowMap other(*depth);
    other.render({}, lightVP);
    EXPECT_NEAR(readDepths(map.depthTexture())[0], depthAtDistance(8.0f), 1e-3f)
        << "the second map's pass cleared the first map";

    map.render({}, lightVP);
    const std::vector<float> depths = readDepths(map.depthTexture());
    EXPECT_EQ(std::count(depths.begin(), depths.end(), 1.0f),
              static_cast<std::ptrdiff_t>(depths.size()));
}

} // namespace
