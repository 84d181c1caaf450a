#include "assets/PngEncoder.h"

#include <FreeImage.h>

std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgb) {
    std::vector<unsigned char> file;
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    if (bitmap == nullptr) {
        return file;
    }
    // FreeImage's scan line 0 is the bottom row, as GL's; its bytes are in the platform's order.
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        const unsigned char* source = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, source += 3) {
            line[x * 3 + FI_RGBA_RED] = source[0];
            line[x * 3 + FI_RGBA_GREEN] = source[1];
            line[x * 3 + FI_RGBA_BLUE] = source[2];
        }
    }
    FIMEMORY* memory = FreeImage_OpenMemory();
    BYTE* bytes = nullptr;
    DWORD size = 0;
    if (memory != nullptr && FreeImage_SaveToMemory(FIF_PNG, bitmap, memory, PNG_DEFAULT) &&
        FreeImage_AcquireMemory(memory, &bytes, &size)) {
        file.assign(bytes, bytes + size);
    }
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(bitmap);
    return file;
}
