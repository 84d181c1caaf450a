// A copy of the last finished picture, put back into the window in frames that draw nothing new.
// After a swap the window's back buffer is undefined on most GPU desktops (DRI3, Wayland, any
// compositor that flips), so presenting it undrawn would show an older frame or garbage.
#pragma once

#include <GL/glew.h>

class LastPicture {
  public:
    LastPicture(int width, int height);
    ~LastPicture();

    LastPicture(const LastPicture&) = delete;
    LastPicture& operator=(const LastPicture&) = delete;

    // Copies the window's back buffer, which the composite has just finished, into the copy.
    void keepFromWindow();
    // Copies the kept picture into the window's back buffer. Leaves framebuffer 0 bound.
    void presentToWindow() const;

    GLuint texture() const { return texture_; }

  private:
    // Both copies bind the window and the copy as read and draw framebuffer, one each way.
    void copy(GLuint from, GLuint to) const;

    int width_;
    int height_;
    GLuint texture_ = 0;
    GLuint framebuffer_ = 0;
};
