// What both texture loaders share once an image is decoded (FreeImage on the desktop, stb_image
// in the browser): the line for an image that cannot be read, and the texture made from it.
#pragma once

#include <GL/glew.h>

// Prints the system's line for an image file that cannot be opened or decoded.
void reportUnreadableImage(const char* path);

// A mipmapped, linearly filtered, repeating 8-bit RGB texture of `width` x `height` from
// `pixels`: rows bottom first, 3 bytes a pixel in `format` (GL_RGB or GL_BGR), each row padded
// to `rowAlignment` bytes. Leaves no texture bound on the active unit.
GLuint uploadMipmappedTexture(int width, int height, GLenum format, GLint rowAlignment,
                              const void* pixels);
