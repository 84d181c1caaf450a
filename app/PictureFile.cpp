#include "app/PictureFile.h"

#include "assets/PngEncoder.h"
#include "render/LastPicture.h"

#include <cerrno>
#include <cstring>
#include <iostream>

std::string pictureFileName(const std::tm& taken) {
    char name[64];
    std::strftime(name, sizeof name, "quiverfall-%Y%m%d-%H%M%S.png", &taken);
    return name;
}

std::filesystem::path newPicturePath(const std::filesystem::path& folder, const std::tm& taken) {
    const std::string name = pictureFileName(taken);
    std::filesystem::path path = folder / name;
    const std::string stem = name.substr(0, name.size() - 4);
    std::error_code unknown;
    for (int count = 2; std::filesystem::exists(path, unknown); ++count) {
        path = folder / (stem + "-" + std::to_string(count) + ".png");
    }
    return path;
}

namespace {

// Local time now; the C library's own copy of it, which the next call overwrites, is copied out.
std::tm localTimeNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local != nullptr ? *local : std::tm{};
}

} // namespace

std::filesystem::path savePicture(const LastPicture& picture, const std::filesystem::path& folder) {
    const std::filesystem::path path = newPicturePath(folder, localTimeNow());
    const PixelSize size = picture.size();
    errno = 0;
    if (!writePng(path, size.width, size.height, picture.readRgb())) {
        const char* reason = errno != 0 ? std::strerror(errno) : "the picture could not be encoded";
        std::cout << "Could not save the picture as " << path.string() << ": " << reason
                  << std::endl;
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return {};
    }
    std::cout << "Saved the picture as " << path.string() << std::endl;
    return path;
}
