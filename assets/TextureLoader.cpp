#include "assets/TextureLoader.h"

#include "render/TextureParameters.h"

#include <FreeImage.h>

#include <cstdio>

namespace {

// The upload reads 3 bytes per pixel in blue-green-red order with rows padded to 4 bytes, which
// is FreeImage's layout for 24-bit bitmaps only. Any other depth or pixel type (grey, palettised,
// with alpha, 16-bit, high dynamic range) is converted first, so it shows with the right colours
// and no row is read past its end. Takes ownership of `image`; returns null if FreeImage cannot
// convert it.
FIBITMAP* toBgr24(FIBITMAP* image) {
    if (FreeImage_GetImageType(image) != FIT_BITMAP) {
        FIBITMAP* standard = FreeImage_ConvertToType(image, FIT_BITMAP, TRUE);
        FreeImage_Unload(image);
        if (standard == nullptr) {
            return nullptr;
        }
        image = standard;
    }
    if (FreeImage_GetBPP(image) == 24) {
        return image;
    }
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(image);
    FreeImage_Unload(image);
    return converted;
}

} // namespace

GLuint loadTexture(const char* path) {
    const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path);
    FIBITMAP* decoded = FreeImage_Load(format, path, 0);
    FIBITMAP* image = decoded != nullptr ? toBgr24(decoded) : nullptr;
    const unsigned width = image != nullptr ? FreeImage_GetWidth(image) : 0;
    const unsigned height = image != nullptr ? FreeImage_GetHeight(image) : 0;
    if (image == nullptr || width == 0 || height == 0) {
        if (image != nullptr) {
            FreeImage_Unload(image);
        }
        std::printf("%s could not be opened. Are you in the right directory ?\n", path);
        std::fflush(stdout);
        return 0;
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, GL_BGR, GL_UNSIGNED_BYTE,
                 FreeImage_GetBits(image));
    FreeImage_Unload(image);
    glGenerateMipmap(GL_TEXTURE_2D);
    setTextureParameters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}
