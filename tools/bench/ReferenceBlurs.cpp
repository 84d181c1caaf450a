#include "ReferenceBlurs.h"

#include "render/FrameSize.h"
#include "render/ShaderProgram.h"
#include "render/TextureParameters.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Both declare the blur program's uniforms, so each pass makes the same GL calls as a blur pass.
const char* const copyFloorSource = R"(#version 330 core
// One texel in, the same texel out: what a full-screen pass costs before any filtering.
uniform sampler2D image;
uniform int horizontal;
uniform vec2 resolution;
out vec3 color;
void main() {
    color = texelFetch(image, ivec2(gl_FragCoord.xy), 0).rgb;
}
)";

const char* const tutorialBloomSource = R"(#version 330 core
// The widely copied separable bloom: 9 bilinear taps at whole-texel steps from the centre.
uniform sampler2D image;
uniform int horizontal;
uniform vec2 resolution;
out vec3 color;
const float weight[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);
void main() {
    vec2 texelSize = 1.0 / resolution;
    // gl_FragCoord sits on texel centres, so every tap samples a texel centre too.
    vec2 uv = gl_FragCoord.xy * texelSize;
    vec2 step = horizontal == 1 ? vec2(texelSize.x, 0.0) : vec2(0.0, texelSize.y);
    vec3 result = texture(image, uv).rgb * weight[0];
    for (int i = 1; i < 5; ++i) {
        result += texture(image, uv + step * float(i)).rgb * weight[i];
        result += texture(image, uv - step * float(i)).rgb * weight[i];
    }
    color = result;
}
)";

// The vertex stage is the demo's own post-process vertex shader. A program that does not build
// ends the bench with the failure's message: there would be nothing to compare with.
std::unique_ptr<ShaderProgram> buildProgram(const char* name, const char* fragmentSource) {
    ShaderFailure failure;
    std::unique_ptr<ShaderProgram> program;
    if (const auto vertex = readShaderSource("./Shader/postProcess.vert", failure)) {
        program = ShaderProgram::fromSources(*vertex, {name, fragmentSource}, failure);
    }
    if (program == nullptr) {
        std::fprintf(stderr, "quiverfall-bench: %s: %s\n", failure.source.c_str(),
                     failure.message.c_str());
        std::exit(1);
    }
    return program;
}

} // namespace

ReferenceBlurs::ReferenceBlurs()
    : copyProgram_(buildProgram("copy", copyFloorSource)),
      tutorialProgram_(buildProgram("tutorial", tutorialBloomSource)) {
    glGenFramebuffers(2, framebuffers_);
    glGenTextures(2, textures_);
    for (int i = 0; i < 2; ++i) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[i]);
        glBindTexture(GL_TEXTURE_2D, textures_[i]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16F, frameWidth, frameHeight, 0, GL_RGB, GL_FLOAT,
                     nullptr);
        setTextureParameters(GL_LINEAR, GL_CLAMP_TO_EDGE);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, textures_[i],
                               0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

ReferenceBlurs::~ReferenceBlurs() {
    glDeleteTextures(2, textures_);
    glDeleteFramebuffers(2, framebuffers_);
}

void ReferenceBlurs::runCopyFloor(GLuint source) {
    runChain(*copyProgram_, copyPasses, source);
}

void ReferenceBlurs::runTutorialBloom(GLuint source) {
    runChain(*tutorialProgram_, tutorialPasses, source);
}

void ReferenceBlurs::runChain(const ShaderProgram& shader, int passes, GLuint source) {
    const GLuint program = shader.programId();
    const GLfloat resolution[2] = {static_cast<GLfloat>(frameWidth),
                                   static_cast<GLfloat>(frameHeight)};
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[horizontal_]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[!horizontal_]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int pass = 0; pass < passes; ++pass) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers_[horizontal_]);
        glUniform1i(glGetUniformLocation(program, "horizontal"), horizontal_ ? 1 : 0);
        glUniform2fv(glGetUniformLocation(program, "resolution"), 1, resolution);
        glBindTexture(GL_TEXTURE_2D, pass == 0 ? source : textures_[!horizontal_]);
        quad_.draw();
        horizontal_ = !horizontal_;
    }
}
