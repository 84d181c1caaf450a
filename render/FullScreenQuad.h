// Two triangles covering clip space, for the passes that shade every pixel of a target once (the
// blur, the composite, the bench's reference chains). Vertex attribute 0 is the position.
#pragma once

#include <GL/glew.h>

class FullScreenQuad {
  public:
    FullScreenQuad();
    ~FullScreenQuad();

    FullScreenQuad(const FullScreenQuad&) = delete;
    FullScreenQuad& operator=(const FullScreenQuad&) = delete;

    // Draws the six vertices; leaves no vertex array bound.
    void draw() const;

  private:
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
};
