// A mesh glows by the length of its normals beyond 1. Only that length may light a surface on its
// own: rounding in a model file must not, and no length may overflow the half-float scene target.
// The surface here is white and every light is off, so the scene colour is the glow itself.
#include "support/ShadingProbe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class GlowTest : public ::testing::Test {
  protected:
    void SetUp() override { white = greyTexture(1, 1, {255}); }
    void TearDown() override { glDeleteTextures(1, &white); }

    // Scene colour and bloom colour of a white surface whose normals are `length` long.
    std::pair<float, float> shade(float length) {
        const ShadingProbe::Target target = shading.shade(white, length, 4, 4);
        return {target.scene[0], target.bloom[0]};
    }

    ShadingProbe shading;
    GLuint white = 0;
};

TEST_F(GlowTest, TheLengthBeyondOneIsTheGlow) {
    EXPECT_FLOAT_EQ(shade(1.0f).first, 0.0f);
    // The hall's charred logs and flames: 1 and 4 times their colour (half floats hold both).
    EXPECT_FLOAT_EQ(shade(2.0f).first, 1.0f);
    EXPECT_FLOAT_EQ(shade(5.0f).first, 4.0f);
}

// Rounding in a model file, or a careless exporter, leaves normals up to a quarter too long; past
// that the whole excess glows (half floats hold 0.26 to within 1e-4).
TEST_F(GlowTest, NormalsUpToAQuarterTooLongDoNotGlow) {
    EXPECT_FLOAT_EQ(shade(1.001f).first, 0.0f);
    EXPECT_FLOAT_EQ(shade(1.24f).first, 0.0f);
    EXPECT_NEAR(shade(1.26f).first, 0.26f, 1e-3f);
}

TEST_F(GlowTest, AnyLengthGlowsAtMostSixteenTimesItsColourAndNeverOverflows) {
    EXPECT_FLOAT_EQ(shade(17.0f).first, 16.0f);
    for (float length : {100.0f, 1.0e5f, 1.0e30f}) {
        const auto [scene, bloom] = shade(length);
        EXPECT_FLOAT_EQ(scene, 16.0f) << length;
        EXPECT_TRUE(std::isfinite(bloom)) << length;
    }
}

} // namespace
