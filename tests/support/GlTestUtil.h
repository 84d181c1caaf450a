// Small helpers for GL tests: reading state and texture contents back.
#pragma once

#include "render/ShaderProgram.h"

#include <GL/glew.h>

#include <memory>
#include <vector>

GLint glInteger(GLenum parameter);

// One of the demo's shader programs from its files; a program that does not build ends the test
// binary with the failure's message, since every test that asked for it depends on it.
std::unique_ptr<ShaderProgram> demoProgram(const char* vertexPath, const char* fragmentPath);

// RGB float texels of level 0 of a 2D texture, bottom row first.
std::vector<float> readTextureRgb(GLuint texture, int width, int height);

// Fills level 0 of an RGB16F texture with `rgb` (width * height * 3 floats).
void writeTextureRgb(GLuint texture, int width, int height, const std::vector<float>& rgb);
