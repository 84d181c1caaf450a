#include "ReferenceBlurs.h"

#include "render/PostProcessing.h"
#include "render/ShaderProgram.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
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

// The same quad as the post-processing passes: two counter-clockwise triangles.
const GLfloat quadVertices[18] = {
    -1.0f, -1.0f, 0.0f, 1.0f, -1.0f, 0.0f, -1.0f, 1.0f, 0.0f,
    -1.0f, 1.0f,  0.0f, 1.0f, -1.0f, 0.0f, 1.0f,  1.0f, 0.0f,
};

// ShaderProgram reads files. The vertex stage is the demo's own post-process vertex shader; the
// fragment source goes to a file of this process's own, so two benches never share one.
std::unique_ptr<ShaderProgram> buildProgram(const char* name, const char* fragmentSource) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("quiverfall-bench-" + std::to_string(getpid()) + "-" + name + ".frag");
    std::ofstream(path) << fragmentSource;
    auto program = std::make_unique<ShaderProgram>("./Shader/postProcess.vert", path.string());
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
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
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16F, PostProcessing::width, PostProcessing::height, 0,
                     GL_RGB, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, textures_[i],
                               0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    glGenVertexArrays(1, &quadVao_);
    glBindVertexArray(quadVao_);
    glGenBuffers(1, &quadVbo_);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quadVertices), quadVertices, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(GLfloat), nullptr);
    glEnableVertexAttribArray(0);
    glBindVertexArray(0);
}

ReferenceBlurs::~ReferenceBlurs() {
    glDeleteVertexArrays(1, &quadVao_);
    glDeleteBuffers(1, &quadVbo_);
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
    const GLfloat resolution[2] = {static_cast<GLfloat>(PostProcessing::width),
                                   static_cast<GLfloat>(PostProcessing::height)};
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
        glBindVertexArray(quadVao_);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glBindVertexArray(0);
        horizontal_ = !horizontal_;
    }
}
