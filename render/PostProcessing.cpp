#include "render/PostProcessing.h"

#include "render/TextureParameters.h"

namespace {

// Half floats with four channels, the fourth unused: WebGL2 renders into RGBA16F (with
// EXT_color_buffer_float) but not into RGB16F, and desktop drivers store RGB16F as four channels
// anyway.
constexpr GLint sceneColourFormat = GL_RGBA16F;

} // namespace

PostProcessing::PostProcessing(const ShaderProgram& compositeProgram,
                               const ShaderProgram& blurProgram)
    : compositeProgram_(compositeProgram), blurProgram_(blurProgram) {
    createPingPongBuffers(width, height);

    glGenFramebuffers(1, &sceneFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer_);
    glGenTextures(2, sceneTextures_);
    for (int i = 0; i < 2; ++i) {
        glBindTexture(GL_TEXTURE_2D, sceneTextures_[i]);
        glTexImage2D(GL_TEXTURE_2D, 0, sceneColourFormat, width, height, 0, GL_RGBA, GL_FLOAT,
                     nullptr);
        setTextureParameters(GL_LINEAR, GL_CLAMP_TO_EDGE);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D,
                               sceneTextures_[i], 0);
    }

    GLuint depthRenderbuffer = 0;
    glGenRenderbuffers(1, &depthRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    // A sized format: WebGL2 takes no other.
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              depthRenderbuffer);

    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    glUseProgram(0);
}

PostProcessing::~PostProcessing() = default;

void PostProcessing::createPingPongBuffers(int bufferWidth, int bufferHeight) {
    glGenFramebuffers(2, pingpongFramebuffers_);
    glGenTextures(2, pingpongTextures_);
    for (int i = 0; i < 2; ++i) {
        glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[i]);
        glBindTexture(GL_TEXTURE_2D, pingpongTextures_[i]);
        glTexImage2D(GL_TEXTURE_2D, 0, sceneColourFormat, bufferWidth, bufferHeight, 0, GL_RGBA,
                     GL_FLOAT, nullptr);
        setTextureParameters(GL_LINEAR, GL_CLAMP_TO_EDGE);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                               pingpongTextures_[i], 0);
    }
    glUseProgram(0);
}

void PostProcessing::blur() {
    if (!bloom) {
        return;
    }
    const GLuint program = blurProgram_.programId();
    glUseProgram(program);
    // The blur's sampler reads unit 0. A room draw without meshes leaves unit 2 active, and
    // binding the passes' sources there would blur whatever unit 0 still holds.
    glActiveTexture(GL_TEXTURE0);
    glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[horizontal_]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[!horizontal_]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    bool firstPass = true;
    for (int pass = 0; pass < blurPasses; ++pass) {
        glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[horizontal_]);
        glUniform1i(glGetUniformLocation(program, "horizontal"), horizontal_ ? 1 : 0);
        glUniform2fv(glGetUniformLocation(program, "resolution"), 1, resolution_);
        glBindTexture(GL_TEXTURE_2D,
                      firstPass ? sceneTextures_[1] : pingpongTextures_[!horizontal_]);
        quad_.draw();
        horizontal_ = !horizontal_;
        firstPass = false;
    }
}

void PostProcessing::composite(GLuint target) {
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLuint program = compositeProgram_.programId();
    glUseProgram(program);
    glUniform2fv(glGetUniformLocation(program, "resolution"), 1, resolution_);
    glUniform1i(glGetUniformLocation(program, "bloom"), bloom ? 1 : 0);

    const GLint sceneLocation = glGetUniformLocation(program, "sceneTexture");
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sceneTextures_[0]);
    glUniform1i(sceneLocation, 0);

    const GLint bloomLocation = glGetUniformLocation(program, "bloomTexture");
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, pingpongTextures_[!horizontal_]);
    glUniform1i(bloomLocation, 1);

    quad_.draw();
}
