#include "assets/TextureLoader.h"

#include "assets/TextureUpload.h"

#include <FreeImage.h>

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
        reportUnreadableImage(path);
        return 0;
    }

    // FreeImage's rows are bottom first, blue-green-red, padded to 4 bytes.
    const GLuint texture =
        uploadMipmappedTexture(static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_BGR, 4,
                               FreeImage_GetBits(image));
    FreeImage_Unload(image);
    return texture;
}
