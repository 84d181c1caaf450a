// Looking at parts of a picture: masks of pixels, rectangles, and how two renders of one view
// differ inside them. Pictures are OpenGL's order (bottom row first); so are rectangles, which
// are the letterbox's PixelRect.
#pragma once

#include "offscreen/OffscreenWindow.h"
#include "render/Letterbox.h"

#include <vector>

// One flag per pixel of a picture.
class Mask {
  public:
    Mask(int width, int height)
        : width_(width), height_(height), set_(static_cast<size_t>(width) * height, 0) {}

    bool at(int x, int y) const { return set_[index(x, y)] != 0; }
    void set(int x, int y) { set_[index(x, y)] = 1; }
    int count() const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Every pixel within `radius` (Chebyshev distance) of a set one.
    Mask grown(int radius) const;

  private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<unsigned char> set_;
};

// The brightest channel of a pixel, 0..255.
int brightness(const Picture& picture, int x, int y);

// Pixels whose brightest channel reaches `atLeast`.
Mask brightPixels(const Picture& picture, int atLeast);

struct HaloChange {
    int brightenedNear = 0; // pixels near the mask that got brighter
    int changedFar = 0;     // pixels farther than the radius that changed at all
};

// How `after` differs from `before` near the mask (within `radius`) and beyond it.
HaloChange compareAroundMask(const Picture& before, const Picture& after, const Mask& mask,
                             int radius);

struct RegionChange {
    int darkerPixels = 0;
    int brighterPixels = 0;
};

// The mean difference of all channels of the pixels inside `region`, 0..255.
double meanDifferenceInRegion(const Picture& a, const Picture& b, const PixelRect& region);

// Pixels inside `region` that are darker or brighter in `after` than in `before` by more than
// `tolerance` in their brightest channel.
RegionChange compareInRegion(const Picture& before, const Picture& after, const PixelRect& region,
                             int tolerance = 2);
