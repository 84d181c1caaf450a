// A mesh glows by the length of its normals beyond 1. Only that length may light a surface on its
// own: rounding in a model file must not, and no length may overflow the half-float scene target.
// The surface here is white and every light is off, so the scene colour is the glow itself.
#include "assets/Mesh.h"
#include "support/DrawPrograms.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int targetSize = 4;

class GlowTest : public DrawProgramsTest {
  protected:
    void SetUp() override {
        const GLubyte white[3] = {255, 255, 255};
        glGenTextures(1, &whiteTexture);
        glBindTexture(GL_TEXTURE_2D, whiteTexture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        // The scene's own targets: half floats, where too long a normal would overflow.
        glGenTextures(2, targets);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        for (int i = 0; i < 2; ++i) {
            glBindTexture(GL_TEXTURE_2D, targets[i]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16F, targetSize, targetSize, 0, GL_RGB, GL_FLOAT,
                         nullptr);
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D,
                                   targets[i], 0);
        }
        const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
        glDrawBuffers(2, drawBuffers);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(2, targets);
        glDeleteTextures(1, &whiteTexture);
        glUseProgram(0);
    }

    // Scene colour and bloom colour of a triangle over the whole target whose normals, facing
    // the camera, are `length` long.
    std::pair<float, float> shade(float length) {
        const glm::vec3 normal(0.0f, 0.0f, length);
        Mesh mesh({0, 1, 2}, {{-1, -1, 0}, {3, -1, 0}, {-1, 3, 0}}, {{0, 0}, {0, 0}, {0, 0}},
                  {normal, normal, normal}, whiteTexture);
        mesh.bindShadingProgram(*shading);

        const GLuint id = shading->programId();
        glUseProgram(id);
        const glm::mat4 identity(1.0f);
        for (const char* matrix : {"MVP", "V", "M", "normalMatrix"}) {
            glUniformMatrix4fv(glGetUniformLocation(id, matrix), 1, GL_FALSE,
                               glm::value_ptr(identity));
        }
        // Every light off; the shadow lookups' matrices stay zero, which puts every point
        // outside both lights' frames, so no shadow map is read.
        const glm::vec3 off(0.0f);
        for (const char* light : {"lightColor", "ambientLightColor", "fireColor"}) {
            glUniform3fv(glGetUniformLocation(id, light), 1, glm::value_ptr(off));
        }
        glUniform1i(glGetUniformLocation(id, "fireShadowMap"), 1);
        glUniform1i(glGetUniformLocation(id, "lightShadowMap"), 2);

        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, targetSize, targetSize);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        mesh.draw();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return {readTextureRgb(targets[0], targetSize, targetSize)[0],
                readTextureRgb(targets[1], targetSize, targetSize)[0]};
    }

    GLuint whiteTexture = 0;
    GLuint targets[2] = {0, 0};
    GLuint framebuffer = 0;
};

TEST_F(GlowTest, TheLengthBeyondOneIsTheGlow) {
    EXPECT_FLOAT_EQ(shade(1.0f).first, 0.0f);
    // The hall's charred logs and flames: 1 and 4 times their colour (half floats hold both).
    EXPECT_FLOAT_EQ(shade(2.0f).first, 1.0f);
    EXPECT_FLOAT_EQ(shade(5.0f).first, 4.0f);
}

TEST_F(GlowTest, NormalsALittleLongFromRoundingDoNotGlow) {
    EXPECT_FLOAT_EQ(shade(1.001f).first, 0.0f);
    EXPECT_FLOAT_EQ(shade(1.2f).first, 0.0f);
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
