// The size of everything the demo renders: the viewport of the shaded passes and the off-screen
// render targets, and the window's size when it opens. The picture keeps this size whatever the
// window does; only the present step follows the window.
#pragma once

constexpr int frameWidth = 1600;
constexpr int frameHeight = 900;
constexpr float frameAspect = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);

// A size in pixels, such as a window's framebuffer (larger than the window itself on HiDPI
// desktops, 0 by 0 while it is minimised).
struct PixelSize {
    int width = 0;
    int height = 0;
};

constexpr PixelSize frameSize{frameWidth, frameHeight};
