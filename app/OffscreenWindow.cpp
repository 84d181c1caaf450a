#include "app/OffscreenWindow.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>

GLFWwindow* createHiddenWindow(const char* title) {
    if (!glfwInit()) {
        std::fprintf(stderr, "no X display: run under xvfb-run or a desktop session\n");
        return nullptr;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(1600, 900, title, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no OpenGL 3.3 core context available\n");
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fprintf(stderr, "could not load the OpenGL entry points\n");
        glfwTerminate();
        return nullptr;
    }
    glGetError(); // GLEW's probing of the core context can leave an error behind.
    return window;
}

Picture readWindowPixels() {
    Picture picture;
    picture.width = 1600;
    picture.height = 900;
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE,
                 picture.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return picture;
}

bool savePng(const Picture& picture, const std::string& path) {
    FIBITMAP* image = FreeImage_Allocate(picture.width, picture.height, 24);
    if (image == nullptr) {
        return false;
    }
    for (int y = 0; y < picture.height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y);
        const unsigned char* source = &picture.rgb[static_cast<size_t>(y) * picture.width * 3];
        for (int x = 0; x < picture.width; ++x) {
            row[x * 3 + FI_RGBA_RED] = source[x * 3];
            row[x * 3 + FI_RGBA_GREEN] = source[x * 3 + 1];
            row[x * 3 + FI_RGBA_BLUE] = source[x * 3 + 2];
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(image);
    return saved;
}

Picture loadPng(const std::string& path) {
    Picture picture;
    FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), 0);
    if (loaded == nullptr) {
        return picture;
    }
    FIBITMAP* image = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    if (image == nullptr) {
        return picture;
    }
    picture.width = static_cast<int>(FreeImage_GetWidth(image));
    picture.height = static_cast<int>(FreeImage_GetHeight(image));
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(image, y);
        unsigned char* target = &picture.rgb[static_cast<size_t>(y) * picture.width * 3];
        for (int x = 0; x < picture.width; ++x) {
            target[x * 3] = row[x * 3 + FI_RGBA_RED];
            target[x * 3 + 1] = row[x * 3 + FI_RGBA_GREEN];
            target[x * 3 + 2] = row[x * 3 + FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(image);
    return picture;
}
