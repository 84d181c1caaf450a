// A hidden 1600x900 OpenGL 3.3 core window for tools and tests that run the frame code without
// showing anything, and reading back what the window holds.
#pragma once

#include <string>
#include <vector>

struct GLFWwindow;

// Initialises GLFW and GLEW and makes the new window's context current. Returns null (with a
// line on standard error) when there is no display or no 3.3 core context.
GLFWwindow* createHiddenWindow(const char* title);

// An 8-bit RGB picture, bottom row first (OpenGL's order).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The default framebuffer's back buffer, as the last composite left it.
Picture readWindowPixels();
bool savePng(const Picture& picture, const std::string& path);
// Returns an empty picture when the file cannot be read.
Picture loadPng(const std::string& path);
