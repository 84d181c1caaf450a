#include "render/Letterbox.h"

#include <algorithm>
#include <cmath>

PixelRect fitPicture(PixelSize picture, PixelSize window) {
    if (picture.width <= 0 || picture.height <= 0 || window.width <= 0 || window.height <= 0) {
        return {};
    }
    // The side that fits exactly keeps the window's size; the other is rounded to whole pixels.
    // Compared as products so that a window of exactly the picture's aspect gets no bar at all.
    const long long widthByHeight = static_cast<long long>(window.width) * picture.height;
    const long long heightByWidth = static_cast<long long>(window.height) * picture.width;
    PixelRect fitted;
    if (widthByHeight <= heightByWidth) {
        fitted.width = window.width;
        fitted.height = static_cast<int>(
            std::lround(static_cast<double>(window.width) * picture.height / picture.width));
    } else {
        fitted.height = window.height;
        fitted.width = static_cast<int>(
            std::lround(static_cast<double>(window.height) * picture.width / picture.height));
    }
    fitted.width = std::clamp(fitted.width, 1, window.width);
    fitted.height = std::clamp(fitted.height, 1, window.height);
    fitted.x = (window.width - fitted.width) / 2;
    fitted.y = (window.height - fitted.height) / 2;
    return fitted;
}

PixelSize fitWithin(PixelSize size, PixelSize largest) {
    if (size.width <= largest.width && size.height <= largest.height) {
        return size;
    }
    const PixelRect fitted = fitPicture(size, largest);
    return {fitted.width, fitted.height};
}
