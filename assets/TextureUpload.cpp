#include "assets/TextureUpload.h"

#include "render/TextureParameters.h"

#include <cstdio>

void reportUnreadableImage(const char* path) {
    std::printf("%s could not be opened. Are you in the right directory ?\n", path);
    std::fflush(stdout);
}

GLuint uploadMipmappedTexture(int width, int height, GLenum format, GLint rowAlignment,
                              const void* pixels) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, rowAlignment);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenerateMipmap(GL_TEXTURE_2D);
    setTextureParameters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}
