// The off-screen scene framebuffer, the ping-pong bloom blur and the composite into the finished
// picture.
#pragma once

#include "render/FrameSize.h"
#include "render/FullScreenQuad.h"
#include "render/ShaderProgram.h"

#include <GL/glew.h>

class PostProcessing {
  public:
    static constexpr int width = frameWidth;
    static constexpr int height = frameHeight;
    static constexpr int blurPasses = 20;

    PostProcessing(const ShaderProgram& compositeProgram, const ShaderProgram& blurProgram);
    ~PostProcessing();

    PostProcessing(const PostProcessing&) = delete;
    PostProcessing& operator=(const PostProcessing&) = delete;

    // Blurs colour attachment 1 of the scene framebuffer; does nothing while bloom is off.
    void blur();
    // Draws scene colour plus (when bloom is on) the blurred image into `target`, a framebuffer
    // of the scene's size: the demo's finished picture, or 0 for the window itself.
    void composite(GLuint target);

    GLuint sceneFramebuffer() const { return sceneFramebuffer_; }
    GLuint sceneTexture(int index) const { return sceneTextures_[index]; }
    GLuint pingpongFramebuffer(int index) const { return pingpongFramebuffers_[index]; }
    GLuint pingpongTexture(int index) const { return pingpongTextures_[index]; }
    bool horizontal() const { return horizontal_; }

    // Set by the application before the first frame and by the bloom toggle.
    bool bloom = false;

  private:
    void createPingPongBuffers(int bufferWidth, int bufferHeight);

    const GLfloat resolution_[2] = {static_cast<GLfloat>(width), static_cast<GLfloat>(height)};
    GLuint sceneFramebuffer_ = 0;
    const ShaderProgram& compositeProgram_;
    GLuint sceneTextures_[2] = {0, 0};
    GLuint pingpongFramebuffers_[2] = {0, 0};
    GLuint pingpongTextures_[2] = {0, 0};
    bool horizontal_ = true;
    const ShaderProgram& blurProgram_;
    FullScreenQuad quad_;
};
