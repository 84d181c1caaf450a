// The finished 1600x900 picture: the composite draws into it, and every frame presents it in the
// window, scaled to fit whatever size the window has now. After a swap the window's back buffer
// is undefined on most GPU desktops (DRI3, Wayland, any compositor that flips), and its size
// follows the window (and the desktop's scale), so the window is filled afresh every frame.
#pragma once

#include "render/FrameSize.h"

#include <GL/glew.h>

#include <vector>

class LastPicture {
  public:
    explicit LastPicture(PixelSize size);
    ~LastPicture();

    LastPicture(const LastPicture&) = delete;
    LastPicture& operator=(const LastPicture&) = delete;

    // The framebuffer the composite draws the picture into.
    GLuint framebuffer() const { return framebuffer_; }
    GLuint texture() const { return texture_; }

    // Fills the window's back buffer, of `window`'s size: the picture scaled to fit, aspect kept,
    // centred, black bars on the spare sides; a plain copy when the sizes match. A window of size
    // 0 (minimised) gets nothing. Needs no viewport and changes none; leaves framebuffer 0 bound.
    void present(PixelSize window) const;

    // The picture's pixels, 3 bytes each (red, green, blue), the bottom row first. Leaves
    // framebuffer 0 bound.
    std::vector<unsigned char> readRgb() const;
    PixelSize size() const { return size_; }

  private:
    PixelSize size_;
    GLuint texture_ = 0;
    GLuint framebuffer_ = 0;
};
