// A light's shadow map: the depth texture and framebuffer it sets up, the state its depth pass
// leaves behind, and the depths the pass writes.
#include "render/ShadowMap.h"
#include "assets/Mesh.h"
#include "render/FrameSize.h"
#include "render/ShaderProgram.h"
#include "scene/SceneObject.h"
#include "support/DrawPrograms.h"
#include "support/GlTestUtil.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

const int mapSize = 1024;

// The smallest shadow caster: one mesh, drawn by the depth pass only.
class MeshCaster : public SceneObject {
  public:
    MeshCaster(const glm::mat4& modelMatrix, std::unique_ptr<Mesh> mesh)
        : SceneObject(modelMatrix), mesh_(std::move(mesh)) {}

    void drawGeometry() override { mesh_->draw(); }
    void draw(const glm::mat4&, const glm::mat4&, const glm::mat4&, const glm::mat4&, GLuint,
              GLuint) override {}

  private:
    std::unique_ptr<Mesh> mesh_;
};

using Quad = std::array<glm::vec3, 4>;

// Triangles of `quads`, each quad's corners counter-clockwise seen from outside (its front).
std::unique_ptr<Mesh> makeMesh(const std::vector<Quad>& quads) {
    std::vector<GLushort> indices;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    for (const Quad& quad : quads) {
        const glm::vec3 normal = glm::normalize(glm::cross(quad[1] - quad[0], quad[2] - quad[0]));
        for (int corner : {0, 1, 2, 0, 2, 3}) {
            indices.push_back(static_cast<GLushort>(positions.size()));
            positions.push_back(quad[corner]);
            normals.push_back(normal);
        }
    }
    return std::make_unique<Mesh>(indices, positions, std::vector<glm::vec2>(), normals, 0);
}

// The square |x|, |y| <= half at height z, facing +z (towards the light).
Quad square(float half, float z) {
    return {{{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}}};
}

// The unit cube around the origin.
std::vector<Quad> unitCube() {
    const float l = -0.5f;
    const float h = 0.5f;
    return {{{{l, l, h}, {h, l, h}, {h, h, h}, {l, h, h}}},  // +z
            {{{h, l, l}, {l, l, l}, {l, h, l}, {h, h, l}}},  // -z
            {{{h, l, h}, {h, l, l}, {h, h, l}, {h, h, h}}},  // +x
            {{{l, l, l}, {l, l, h}, {l, h, h}, {l, h, l}}},  // -x
            {{{l, h, h}, {h, h, h}, {h, h, l}, {l, h, l}}},  // +y
            {{{l, l, l}, {h, l, l}, {h, l, h}, {l, l, h}}}}; // -y
}

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

    static std::unique_ptr<MeshCaster> caster(const glm::mat4& modelMatrix,
                                              const std::vector<Quad>& quads) {
        auto mesh = makeMesh(quads);
        mesh->bindShadingProgram(*shading);
        mesh->bindDepthProgram(*depth);
        return std::make_unique<MeshCaster>(modelMatrix, std::move(mesh));
    }

    // Row-major depths of the map, bottom row first. The comparison mode is switched off for
    // the read and restored afterwards.
    static std::vector<float> readDepths(GLuint texture) {
        std::vector<float> depths(static_cast<size_t>(mapSize) * mapSize, -1.0f);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
        glBindTexture(GL_TEXTURE_2D, 0);
        return depths;
    }

    static float depthAt(const std::vector<float>& depths, int x, int y) {
        return depths[static_cast<size_t>(y) * mapSize + x];
    }
};

GLint textureParameter(GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

GLint levelParameter(GLenum parameter) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

TEST_F(ShadowMapTest, ConstructionMakesAComparingDepthTextureAsTheFramebuffersOnlyAttachment) {
    glUseProgram(depth->programId());
    ShadowMap map(*depth);
    ASSERT_TRUE(glIsTexture(map.depthTexture()));
    ASSERT_TRUE(glIsFramebuffer(map.shadowFramebuffer()));
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(map.shadowFramebuffer()));
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(map.depthTexture()));

    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), mapSize);
    EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), mapSize);
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_COMPARE_FUNC), GL_LESS);
    EXPECT_EQ(textureParameter(GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);

    GLint attached = 0;
    GLint type = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    EXPECT_EQ(attached, static_cast<GLint>(map.depthTexture()));
    EXPECT_EQ(type, GL_TEXTURE);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    EXPECT_EQ(type, GL_NONE);
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER), GL_NONE);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindTexture(GL_TEXTURE_2D, 0);

    ShadowMap second(*depth);
    EXPECT_NE(second.depthTexture(), map.depthTexture());
    EXPECT_NE(second.shadowFramebuffer(), map.shadowFramebuffer());
}

TEST_F(ShadowMapTest, ABoxInFrontOfAPlaneLeavesItsNearerDepthWhereItStands) {
    ShadowMap map(*depth);
    // The plane: the square |x|, |y| <= 1.5 at z = 0, facing the light; the rim of the map
    // outside it sees nothing.
    const auto plane = caster(glm::mat4(1.0f), {square(1.5f, 0.0f)});
    // The box: a unit cube moved by its model matrix to x in [0, 1], y in [-0.5, 0.5],
    // z in [1.5, 2.5], so its face towards the light lies 7.5 units from it.
    const auto box =
        caster(glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, 0.0f, 2.0f)), unitCube());

    // The box first: the plane drawn after it must not overwrite the nearer depth.
    map.render({box.get(), plane.get()}, lightVP);
    const std::vector<float> depths = readDepths(map.depthTexture());

    // 24-bit depth and rasterisation at texel centres: well within a thousandth.
    const float tolerance = 1e-3f;
    const float planeDepth = depthAtDistance(10.0f);
    const float boxDepth = depthAtDistance(7.5f);
    const int middle = texelOf(0.0f);
    EXPECT_NEAR(depthAt(depths, texelOf(0.5f), middle), boxDepth, tolerance);
    // Inside the moved box but outside where the unmoved cube would be: the model matrix counts.
    EXPECT_NEAR(depthAt(depths, texelOf(0.9f), texelOf(0.4f)), boxDepth, tolerance);
    EXPECT_NEAR(depthAt(depths, texelOf(-0.3f), middle), planeDepth, tolerance);
    EXPECT_NEAR(depthAt(depths, texelOf(1.2f), middle), planeDepth, tolerance);
    EXPECT_NEAR(depthAt(depths, middle, texelOf(1.0f)), planeDepth, tolerance);
    EXPECT_EQ(depthAt(depths, 5, 5), 1.0f);
    EXPECT_EQ(depthAt(depths, mapSize - 5, middle), 1.0f);

    // The box's 1 x 1 face covers 1/16 of the light's 4 x 4 view, give or take a row of texels
    // along each edge.
    int boxTexels = 0;
    for (float d : depths) {
        boxTexels += std::abs(d - boxDepth) < tolerance ? 1 : 0;
    }
    EXPECT_NEAR(boxTexels, mapSize * mapSize / 16, 2 * mapSize / 4 + 1);

    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
}

TEST_F(ShadowMapTest, RenderLeavesTheWindowFramebufferNoProgramAndTheMapsViewport) {
    ShadowMap map(*depth);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(shading->programId());
    glViewport(0, 0, frameWidth, frameHeight);
    const auto plane = caster(glm::mat4(1.0f), {square(1.0f, 0.0f)});
    map.render({plane.get()}, lightVP);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], mapSize);
    EXPECT_EQ(viewport[3], mapSize);
}

TEST_F(ShadowMapTest, AnEmptyListStillClearsTheMapToTheFarDepth) {
    ShadowMap map(*depth);
    const auto plane = caster(glm::mat4(1.0f), {square(3.0f, 0.0f)});
    map.render({plane.get()}, lightVP);
    ASSERT_NEAR(readDepths(map.depthTexture())[0], depthAtDistance(10.0f), 1e-3f);

    glViewport(0, 0, frameWidth, frameHeight);
    map.render({}, lightVP);
    const std::vector<float> depths = readDepths(map.depthTexture());
    size_t cleared = 0;
    for (float d : depths) {
        cleared += d == 1.0f ? 1 : 0;
    }
    EXPECT_EQ(cleared, depths.size());
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], mapSize);
    EXPECT_EQ(viewport[3], mapSize);
}

TEST_F(ShadowMapTest, TheLightsMatrixPlacesTheCasters) {
    // The same plane seen through a light moved 2 units closer: the stored depth follows the
    // matrix given to render, not anything kept from an earlier pass.
    ShadowMap map(*depth);
    const auto plane = caster(glm::mat4(1.0f), {square(3.0f, 0.0f)});
    map.render({plane.get()}, lightVP);
    EXPECT_NEAR(readDepths(map.depthTexture())[0], depthAtDistance(10.0f), 1e-3f);
    const glm::mat4 closer = lightVP * glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 2));
    map.render({plane.get()}, closer);
    EXPECT_NEAR(readDepths(map.depthTexture())[0], depthAtDistance(8.0f), 1e-3f);
}

} // namespace
