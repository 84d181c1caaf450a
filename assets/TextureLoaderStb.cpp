// The texture loader of the browser and Windows builds: FreeImage's codecs are not in Debian's
// source package and it has no Windows build here, so stb_image (Debian's header-only
// libstb-dev) decodes the images, to the same texture as the desktop's.
#include "assets/TextureLoader.h"

#include "assets/TextureUpload.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

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
        reportUnreadableImage(path);
        return 0;
    }
    // Rows of 3 bytes a pixel, not padded.
    const GLuint texture = uploadMipmappedTexture(width, height, GL_RGB, 1, pixels);
    stbi_image_free(pixels);
    return texture;
}
