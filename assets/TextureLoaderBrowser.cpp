// The browser build's texture loader: FreeImage's codecs are not in Debian's source package, so
// stb_image (Debian's header-only libstb-dev) decodes the images, to the same texture as the
// desktop's.
#include "assets/TextureLoader.h"

#include "render/TextureParameters.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include <cstdio>

GLuint loadTexture(const char* path) {
    // FreeImage hands the desktop's upload the bottom row first, which is the row GL puts at
    // texture coordinate 0; stb reads top row first, so it is told to flip.
    stbi_set_flip_vertically_on_load(1);
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels = stbi_load(path, &width, &height, &channels, 3);
    if (pixels == nullptr || width == 0 || height == 0) {
        stbi_image_free(pixels);
        std::printf("%s could not be opened. Are you in the right directory ?\n", path);
        std::fflush(stdout);
        return 0;
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Rows of 3 bytes a pixel are not padded to 4.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    stbi_image_free(pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    setTextureParameters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}
