// Image file to mipmapped OpenGL 2D texture: decoded by FreeImage on the desktop
// (TextureLoaderFreeImage.cpp), by stb_image in the browser and Windows builds
// (TextureLoaderStb.cpp), where FreeImage is not at hand.
#pragma once

#include <GL/glew.h>

// Returns the new texture's name, or 0 (after printing a line) when the image cannot be read.
// Leaves no texture bound to GL_TEXTURE_2D on the active unit.
GLuint loadTexture(const char* path);
