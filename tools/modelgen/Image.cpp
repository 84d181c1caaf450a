// Texture filling and JPEG encoding through FreeImage.
#include "Image.h"

#include <FreeImage.h>
#include <cstdio>

#include "Noise.h"

namespace modelgen {

Image::Image(int width, int height)
    : w(width), h(height), pixels(static_cast<size_t>(width) * height) {}

void Image::fill(const std::function<glm::vec3(float u, float v)>& shader) {
    for (int y = 0; y < h; ++y) {
        const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(h);
        for (int x = 0; x < w; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(w);
            at(x, y) = shader(u, v);
        }
    }
}

static BYTE toByte(float c) {
    return static_cast<BYTE>(clamp01(c) * 255.0f + 0.5f);
}

bool Image::saveJpeg(const std::string& path, int quality) const {
    FIBITMAP* bitmap = FreeImage_Allocate(w, h, 24);
    if (bitmap == nullptr) {
        std::fprintf(stderr, "cannot allocate a %dx%d bitmap\n", w, h);
        return false;
    }
    for (int y = 0; y < h; ++y) {
        // Scan line 0 is the bottom row, the same order as our v axis.
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < w; ++x) {
            const glm::vec3& c = pixels[static_cast<size_t>(y) * w + x];
            row[FI_RGBA_RED] = toByte(c.r);
            row[FI_RGBA_GREEN] = toByte(c.g);
            row[FI_RGBA_BLUE] = toByte(c.b);
            row += 3;
        }
    }
    // Optimised Huffman tables shrink the files by a few percent and change no pixel.
    const bool ok = FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), quality | JPEG_OPTIMIZE) != 0;
    FreeImage_Unload(bitmap);
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    return ok;
}

} // namespace modelgen
