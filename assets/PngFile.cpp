#include "assets/PngEncoder.h"

#include <fstream>

bool writePng(const std::filesystem::path& path, int width, int height,
              const std::vector<unsigned char>& rgb) {
    const std::vector<unsigned char> contents = encodePng(width, height, rgb);
    if (contents.empty()) {
        return false;
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(contents.data()),
               static_cast<std::streamsize>(contents.size()));
    file.close();
    return !file.fail();
}
