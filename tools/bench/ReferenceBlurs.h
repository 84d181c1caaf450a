// Two yardsticks for the bloom blur, run the way PostProcessing::blur runs its chain (two
// 1600x900 GL_RGB16F ping-pong framebuffers, both cleared first, one full-screen quad a pass):
// a chain of plain texelFetch copies, the least any 20-pass chain can cost, and the usual
// tutorial bloom, a 9-tap bilinear Gaussian run 10 times.
#pragma once

#include "render/FullScreenQuad.h"

#include <GL/glew.h>

#include <memory>

class ShaderProgram;

class ReferenceBlurs {
  public:
    static constexpr int copyPasses = 20;
    static constexpr int tutorialPasses = 10;

    // Builds both programs; a failure ends the bench with its message.
    ReferenceBlurs();
    ~ReferenceBlurs();

    ReferenceBlurs(const ReferenceBlurs&) = delete;
    ReferenceBlurs& operator=(const ReferenceBlurs&) = delete;

    // Both read `source` (1600x900) on texture unit 0 for their first pass.
    void runCopyFloor(GLuint source);
    void runTutorialBloom(GLuint source);

  private:
    void runChain(const ShaderProgram& program, int passes, GLuint source);

    std::unique_ptr<ShaderProgram> copyProgram_;
    std::unique_ptr<ShaderProgram> tutorialProgram_;
    GLuint framebuffers_[2] = {0, 0};
    GLuint textures_[2] = {0, 0};
    FullScreenQuad quad_;
    bool horizontal_ = true;
};
