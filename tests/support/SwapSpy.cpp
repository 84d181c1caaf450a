// Loaded into the real program with LD_PRELOAD around GLFW's buffer swap, to watch the program
// from outside as a desktop would:
// - QUIVERFALL_TEST_SWAP_COUNT=PATH keeps the number of swaps so far in that file, so a test can
//   count frames a second;
// - QUIVERFALL_TEST_GARBAGE_AFTER_SWAP=1 paints the back buffer magenta after every swap, as
//   desktops whose swap leaves it undefined may: what the window shows then is only what the
//   frame itself drew.
#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

using SwapBuffers = void (*)(GLFWwindow*);

const char* setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

void writeCount(long count) {
    static const char* path = setting("QUIVERFALL_TEST_SWAP_COUNT");
    static const int file = path != nullptr ? open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    if (file < 0) {
        return;
    }
    // Fixed width, written in place: a reader never sees a shorter, stale tail.
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%20ld\n", count);
    if (pwrite(file, text, static_cast<size_t>(length), 0) != length) {
        std::perror("swap spy");
    }
}

void paintBackBuffer() {
    // The program ends each frame with the window's framebuffer bound; anything else is left be.
    GLint drawFramebuffer = -1;
    glGetIntegerv(0x8CA6 /* GL_DRAW_FRAMEBUFFER_BINDING */, &drawFramebuffer);
    if (drawFramebuffer != 0) {
        return;
    }
    GLfloat clearColor[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
}

} // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    static const auto realSwap = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    static const bool garbage = setting("QUIVERFALL_TEST_GARBAGE_AFTER_SWAP") != nullptr;
    static long count = 0;
    realSwap(window);
    if (garbage) {
        paintBackBuffer();
    }
    writeCount(++count);
}
