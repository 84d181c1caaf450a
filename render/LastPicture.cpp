#include "render/LastPicture.h"

#include "render/TextureParameters.h"

LastPicture::LastPicture(int width, int height) : width_(width), height_(height) {
    // 8 bits a channel: the window's own format, so the copy loses nothing of what it showed.
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    setTextureParameters(GL_NEAREST, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    // Until the first composite the copy is black, like the window's clear colour.
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 0, black);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

LastPicture::~LastPicture() {
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteTextures(1, &texture_);
}

void LastPicture::keepFromWindow() {
    copy(0, framebuffer_);
}

void LastPicture::presentToWindow() const {
    copy(framebuffer_, 0);
}

void LastPicture::copy(GLuint from, GLuint to) const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
