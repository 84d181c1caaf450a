// What GL tests of the shaded draws need around a draw: a framebuffer to draw into in place of
// the scene framebuffer, and a count of the triangles a call actually issued.
#pragma once

#include <GL/glew.h>

// A small complete framebuffer with one RGBA8 colour texture; the draws' 1600x900 viewport
// simply reaches past its edges.
class ColourTarget {
  public:
    ColourTarget() {
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, texture_, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    ~ColourTarget() {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteTextures(1, &texture_);
    }
    ColourTarget(const ColourTarget&) = delete;
    ColourTarget& operator=(const ColourTarget&) = delete;

    GLuint framebuffer() const { return framebuffer_; }

  private:
    GLuint texture_ = 0;
    GLuint framebuffer_ = 0;
};

// The number of triangles the GL assembled while `draw` ran.
template <typename Draw> GLuint trianglesDrawnBy(Draw draw) {
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}
