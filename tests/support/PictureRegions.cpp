#include "support/PictureRegions.h"

#include <algorithm>
#include <cstdlib>

int Mask::count() const {
    return static_cast<int>(std::count(set_.begin(), set_.end(), 1));
}

Mask Mask::grown(int radius) const {
    // Separable: a square grows as a row pass followed by a column pass.
    Mask rows(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!at(x, y)) {
                continue;
            }
            for (int nx = std::max(0, x - radius); nx <= std::min(width_ - 1, x + radius); ++nx) {
                rows.set(nx, y);
            }
        }
    }
    Mask result(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!rows.at(x, y)) {
                continue;
            }
            for (int ny = std::max(0, y - radius); ny <= std::min(height_ - 1, y + radius); ++ny) {
                result.set(x, ny);
            }
        }
    }
    return result;
}

int brightness(const Picture& picture, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * picture.width + x) * 3;
    return std::max({picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]});
}

Mask brightPixels(const Picture& picture, int atLeast) {
    Mask mask(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (brightness(picture, x, y) >= atLeast) {
                mask.set(x, y);
            }
        }
    }
    return mask;
}

namespace {

bool samePixel(const Picture& a, const Picture& b, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * a.width + x) * 3;
    return a.rgb[i] == b.rgb[i] && a.rgb[i + 1] == b.rgb[i + 1] && a.rgb[i + 2] == b.rgb[i + 2];
}

} // namespace

HaloChange compareAroundMask(const Picture& before, const Picture& after, const Mask& mask,
                             int radius) {
    const Mask near = mask.grown(radius);
    HaloChange change;
    for (int y = 0; y < before.height; ++y) {
        for (int x = 0; x < before.width; ++x) {
            if (near.at(x, y)) {
                change.brightenedNear += brightness(after, x, y) > brightness(before, x, y);
            } else {
                change.changedFar += !samePixel(before, after, x, y);
            }
        }
    }
    return change;
}

double meanDifferenceInRegion(const Picture& a, const Picture& b, const PixelRect& region) {
    long long total = 0;
    for (int y = region.y; y < region.y + region.height; ++y) {
        for (int x = region.x; x < region.x + region.width; ++x) {
            const size_t i = (static_cast<size_t>(y) * a.width + x) * 3;
            for (size_t c = 0; c < 3; ++c) {
                total += std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c]));
            }
        }
    }
    return static_cast<double>(total) / (3.0 * region.width * region.height);
}

RegionChange compareInRegion(const Picture& before, const Picture& after, const PixelRect& region,
                             int tolerance) {
    RegionChange change;
    for (int y = region.y; y < region.y + region.height; ++y) {
        for (int x = region.x; x < region.x + region.width; ++x) {
            const int difference = brightness(after, x, y) - brightness(before, x, y);
            change.darkerPixels += difference < -tolerance;
            change.brighterPixels += difference > tolerance;
        }
    }
    return change;
}
