#include "offscreen/Picture.h"

#include "assets/PngEncoder.h"

#include <FreeImage.h>

bool savePng(const Picture& picture, const std::string& path) {
    return writePng(path, picture.width, picture.height, picture.rgb);
}

Picture loadPng(const std::string& path) {
    Picture picture;
    FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), 0);
    if (loaded == nullptr) {
        return picture;
    }
    FIBITMAP* image = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    if (image == nullptr) {
        return picture;
    }
    picture.width = static_cast<int>(FreeImage_GetWidth(image));
    picture.height = static_cast<int>(FreeImage_GetHeight(image));
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(image, y);
        unsigned char* target = &picture.rgb[static_cast<size_t>(y) * picture.width * 3];
        for (int x = 0; x < picture.width; ++x) {
            target[x * 3] = row[x * 3 + FI_RGBA_RED];
            target[x * 3 + 1] = row[x * 3 + FI_RGBA_GREEN];
            target[x * 3 + 2] = row[x * 3 + FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(image);
    return picture;
}
