#include "assets/PngEncoder.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

void append(void* file, void* bytes, int size) {
    auto& contents = *static_cast<std::vector<unsigned char>*>(file);
    const unsigned char* begin = static_cast<const unsigned char*>(bytes);
    contents.insert(contents.end(), begin, begin + size);
}

} // namespace

std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgb) {
    std::vector<unsigned char> file;
    stbi_flip_vertically_on_write(1);
    if (stbi_write_png_to_func(append, &file, width, height, 3, rgb.data(), width * 3) == 0) {
        file.clear();
    }
    return file;
}
