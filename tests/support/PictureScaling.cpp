#include "support/PictureScaling.h"

#include <algorithm>
#include <cmath>

namespace {

// The bilinear sample of `picture` at texel coordinates (u, v), texel centres at whole numbers,
// clamped to the edge.
void sample(const Picture& picture, double u, double v, unsigned char* rgb) {
    u = std::clamp(u, 0.0, static_cast<double>(picture.width - 1));
    v = std::clamp(v, 0.0, static_cast<double>(picture.height - 1));
    const int x0 = static_cast<int>(u);
    const int y0 = static_cast<int>(v);
    const int x1 = std::min(x0 + 1, picture.width - 1);
    const int y1 = std::min(y0 + 1, picture.height - 1);
    const double fx = u - x0;
    const double fy = v - y0;
    auto at = [&picture](int x, int y, int channel) {
        return static_cast<double>(
            picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3 + channel]);
    };
    for (int channel = 0; channel < 3; ++channel) {
        const double bottom = at(x0, y0, channel) * (1 - fx) + at(x1, y0, channel) * fx;
        const double top = at(x0, y1, channel) * (1 - fx) + at(x1, y1, channel) * fx;
        rgb[channel] = static_cast<unsigned char>(std::lround(bottom * (1 - fy) + top * fy));
    }
}

} // namespace

Picture letterboxed(const Picture& picture, const PixelRect& into, PixelSize window) {
    Picture result;
    result.width = window.width;
    result.height = window.height;
    result.rgb.assign(static_cast<size_t>(window.width) * window.height * 3, 0);
    const double scaleX = static_cast<double>(picture.width) / into.width;
    const double scaleY = static_cast<double>(picture.height) / into.height;
    for (int y = into.y; y < into.y + into.height; ++y) {
        const double v = (y - into.y + 0.5) * scaleY - 0.5;
        for (int x = into.x; x < into.x + into.width; ++x) {
            const double u = (x - into.x + 0.5) * scaleX - 0.5;
            sample(picture, u, v, &result.rgb[(static_cast<size_t>(y) * window.width + x) * 3]);
        }
    }
    return result;
}
