// Small helpers for GL tests: reading state and texture contents back.
#pragma once

#include <GL/glew.h>

#include <vector>

GLint glInteger(GLenum parameter);

// RGB float texels of level 0 of a 2D texture, bottom row first.
std::vector<float> readTextureRgb(GLuint texture, int width, int height);

// Fills level 0 of an RGB16F texture with `rgb` (width * height * 3 floats).
void writeTextureRgb(GLuint texture, int width, int height, const std::vector<float>& rgb);
