#include "support/ShadingProbe.h"

#include "assets/Mesh.h"
#include "support/GlTestUtil.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

ShadingProbe::ShadingProbe()
    : program_(demoProgram("./Shader/standardShading.vert", "./Shader/standardShading.frag")) {}

ShadingProbe::~ShadingProbe() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
}

ShadingProbe::Target ShadingProbe::shade(GLuint texture, float normalLength, int width, int height,
                                         const Light* light) {
    GLuint targets[2] = {0, 0};
    GLuint framebuffer = 0;
    glGenTextures(2, targets);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    for (int i = 0; i < 2; ++i) {
        // The scene's own format: half floats, where too bright a colour would overflow.
        glBindTexture(GL_TEXTURE_2D, targets[i]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, targets[i],
                               0);
    }
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);

    // One triangle over the whole target; the texture's unit square covers the target exactly.
    const glm::vec3 normal(0.0f, 0.0f, normalLength);
    Mesh mesh({0, 1, 2}, {{-1, -1, 0}, {3, -1, 0}, {-1, 3, 0}}, {{0, 0}, {2, 0}, {0, 2}},
              {normal, normal, normal}, texture);
    mesh.bindShadingProgram(*program_);

    const GLuint id = program_->programId();
    glUseProgram(id);
    const glm::mat4 identity(1.0f);
    for (const char* matrix : {"MVP", "V", "M", "normalMatrix"}) {
        glUniformMatrix4fv(glGetUniformLocation(id, matrix), 1, GL_FALSE, glm::value_ptr(identity));
    }
    // Every light off; the shadow lookups' matrices stay zero, which puts every point outside
    // both lights' frames, so no shadow map is read.
    const glm::vec3 off(0.0f);
    for (const char* light : {"lightColor", "ambientLightColor", "fireColor"}) {
        glUniform3fv(glGetUniformLocation(id, light), 1, glm::value_ptr(off));
    }
    glUniform1i(glGetUniformLocation(id, "fireShadowMap"), 1);
    glUniform1i(glGetUniformLocation(id, "lightShadowMap"), 2);
    if (light != nullptr) {
        const bool sun = light->kind == Light::sun;
        const glm::vec3 white(1.0f);
        glUniform3fv(glGetUniformLocation(id, sun ? "lightColor" : "fireColor"), 1,
                     glm::value_ptr(white));
        glUniform3fv(glGetUniformLocation(id, sun ? "lightPos_worldSpace" : "firePos_worldSpace"),
                     1, glm::value_ptr(light->position));
        glUniformMatrix4fv(glGetUniformLocation(id, sun ? "lightBiasMVP" : "fireBiasMVP"), 1,
                           GL_FALSE, glm::value_ptr(light->biasMVP));
        glActiveTexture(sun ? GL_TEXTURE2 : GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, light->shadowMap);
        glActiveTexture(GL_TEXTURE0);
    }

    glViewport(0, 0, width, height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    mesh.draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    if (light != nullptr) {
        glActiveTexture(light->kind == Light::sun ? GL_TEXTURE2 : GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
    }
    Target result;
    result.width = width;
    result.scene = readTextureRgb(targets[0], width, height);
    result.bloom = readTextureRgb(targets[1], width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(2, targets);
    return result;
}

GLuint greyTexture(int width, int height, const std::vector<unsigned char>& grey) {
    std::vector<unsigned char> rgb;
    for (unsigned char value : grey) {
        rgb.insert(rgb.end(), {value, value, value});
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}
