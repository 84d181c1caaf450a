#include "render/LastPicture.h"

#include "render/Letterbox.h"
#include "render/TextureParameters.h"

LastPicture::LastPicture(PixelSize size) : size_(size) {
    // 8 bits a channel: the window's own format, so presenting it 1:1 loses nothing.
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size_.width, size_.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    setTextureParameters(GL_NEAREST, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    // Until the first composite the picture is black, like the window's clear colour.
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 0, black);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

LastPicture::~LastPicture() {
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteTextures(1, &texture_);
}

void LastPicture::present(PixelSize window) const {
    const PixelRect target = fitPicture(size_, window);
    if (target.width == 0) {
        return;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    const bool exactCopy = target.width == size_.width && target.height == size_.height;
    if (exactCopy && target.width == window.width && target.height == window.height) {
        glBlitFramebuffer(0, 0, size_.width, size_.height, 0, 0, size_.width, size_.height,
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
    } else {
        // The bars: a clear ignores the viewport and covers the whole window.
        glClear(GL_COLOR_BUFFER_BIT);
        glBlitFramebuffer(0, 0, size_.width, size_.height, target.x, target.y,
                          target.x + target.width, target.y + target.height, GL_COLOR_BUFFER_BIT,
                          exactCopy ? GL_NEAREST : GL_LINEAR);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<unsigned char> LastPicture::readRgb() const {
    // WebGL reads only 4 bytes a pixel, so every platform reads RGBA (rows need no padding) and
    // drops the alpha.
    const size_t pixelCount = static_cast<size_t>(size_.width) * size_.height;
    std::vector<unsigned char> rgba(pixelCount * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glReadPixels(0, 0, size_.width, size_.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    std::vector<unsigned char> rgb(pixelCount * 3);
    for (size_t pixel = 0; pixel < pixelCount; ++pixel) {
        for (size_t channel = 0; channel < 3; ++channel) {
            rgb[pixel * 3 + channel] = rgba[pixel * 4 + channel];
        }
    }
    return rgb;
}
