// How soft a shadow's edge is, for both lights. A light looks at a plane through a shadow map
// whose left half holds an occluder (depth 0) and right half nothing (depth 1); the map's texels
// are spread 16 pixels wide over the picture, so the edge's profile can be read off a row.
// The share of the light that reaches each pixel is the picture over the same picture with the
// map all clear; everything else the shading does (distance, facing, sheen) divides out.
#include "render/ShadowMap.h"
#include "support/DrawPrograms.h"
#include "support/ShadingProbe.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int width = 256;
constexpr int pixelsPerTexel = 16;
// The map's middle: texels 0 to 511 hold the occluder, 512 to 1023 nothing.
constexpr int edgeTexel = ShadowMap::size / 2;

// World x from -1 to 1 becomes texture s from 0.5 - 8 texels to 0.5 + 8 texels, at depth 0.5
// everywhere: 16 texels over the 256 pixels, the edge at the picture's middle.
glm::mat4 edgeLookup() {
    glm::mat4 lookup(0.0f);
    lookup[0][0] = 8.0f / ShadowMap::size;
    lookup[3] = glm::vec4(0.5f, 0.5f, 0.5f, 1.0f);
    return lookup;
}

class ShadowEdgeTest : public DrawProgramsTest {
  protected:
    void SetUp() override {
        map = std::make_unique<ShadowMap>(*depth);
        white = greyTexture(1, 1, {255});
    }
    void TearDown() override {
        glDeleteTextures(1, &white);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    // Depth `left` in the map's columns before the edge, 1 (nothing) from it on.
    void fillMap(float left) {
        glBindFramebuffer(GL_FRAMEBUFFER, map->shadowFramebuffer());
        glViewport(0, 0, ShadowMap::size, ShadowMap::size);
        glClearDepth(1.0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, edgeTexel, ShadowMap::size);
        glClearDepth(left);
        glClear(GL_DEPTH_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearDepth(1.0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    // The share of `kind`'s light that reaches each pixel of the row.
    std::vector<double> lightReaching(ShadingProbe::Light::Kind kind) {
        const glm::vec3 position =
            kind == ShadingProbe::Light::sun ? glm::vec3(0, 0, 10) : glm::vec3(0, 0, 2);
        const ShadingProbe::Light light{kind, position, edgeLookup(), map->depthTexture()};
        fillMap(1.0f);
        const ShadingProbe::Target clear = probe.shade(white, 1.0f, width, 1, &light);
        fillMap(0.0f);
        const ShadingProbe::Target shadowed = probe.shade(white, 1.0f, width, 1, &light);
        std::vector<double> share;
        for (int x = 0; x < width; ++x) {
            share.push_back(shadowed.sceneRed(x, 0) / clear.sceneRed(x, 0));
        }
        return share;
    }

    // How many texels wide the edge is, from a fifth of the light to four fifths.
    static double edgeWidthInTexels(const std::vector<double>& share) {
        int between = 0;
        for (double s : share) {
            between += s > 0.2 && s < 0.8;
        }
        return static_cast<double>(between) / pixelsPerTexel;
    }

    std::unique_ptr<ShadowMap> map;
    ShadingProbe probe;
    GLuint white = 0;
};

// Each of the shader's two lookups, 0.625 texels either side of the point, compares the four
// nearest texels and blends them: alone it takes the light from none to all over one texel,
// between the centres of the last shadowed and the first clear texel. Their mean takes it from
// 0.2 to 0.8 over 1.45 texels: from 0.4 texels past the start of the first lookup's ramp to
// 0.6 texels into the second's, which starts 1.25 texels later (0.25 of them flat at 0.5). A
// single lookup gives 0.6 texels (a hard edge; 0.625 measured), lookups further apart more.
// 1.45 texels are 23.2 pixels, counted in whole pixels, and the driver blends in steps of 1/256:
// a pixel and a half either way is allowed (1.5 measured).
constexpr double expectedEdgeTexels = 1.45;
constexpr double edgeTolerance = 1.5 / pixelsPerTexel;

TEST_F(ShadowEdgeTest, BothLightsShadowsHaveEdgesAboutOneAndAHalfTexelsWide) {
    for (const auto kind : {ShadingProbe::Light::sun, ShadingProbe::Light::fire}) {
        SCOPED_TRACE(kind == ShadingProbe::Light::sun ? "the sun" : "the fire");
        const std::vector<double> share = lightReaching(kind);
        EXPECT_LT(share.front(), 0.01) << "the occluder's side is not in shadow";
        EXPECT_GT(share.back(), 0.99) << "the clear side is not lit";
        EXPECT_NEAR(edgeWidthInTexels(share), expectedEdgeTexels, edgeTolerance);
    }
}

} // namespace
