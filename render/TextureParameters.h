// The sampling parameters of the 2D texture bound to GL_TEXTURE_2D, set in one call for each
// kind of texture the demo makes.
#pragma once

#include <GL/glew.h>

// Minification and magnification filters, and the wrap mode along both axes.
void setTextureParameters(GLint minFilter, GLint magFilter, GLint wrap);

// One filter both ways.
inline void setTextureParameters(GLint filter, GLint wrap) {
    setTextureParameters(filter, filter, wrap);
}
