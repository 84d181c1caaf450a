// A hidden OpenGL 3.3 core window of the demo's size for tools and tests that run the frame code
// without showing anything, and reading back what the window holds.
#pragma once

#include "offscreen/Picture.h"
#include "render/FrameSize.h"

struct GLFWwindow;

// Initialises GLFW and GLEW and makes the new window's context current. Returns null (with a
// line on standard error) when there is no display or no 3.3 core context.
GLFWwindow* createHiddenWindow(const char* title);

// The default framebuffer's back buffer, as the last frame left it, at the demo's size or, after
// the window was resized, at `size`.
Picture readWindowPixels(PixelSize size = frameSize);
