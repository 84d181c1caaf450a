// The browser (Emscripten): the page's canvas is the window and its animation frames drive the
// loop; the page's on-screen controls count as keys; a saved picture goes to the visitor as a
// download; a lost WebGL2 context is claimed, waited for and rebuilt, from before set-up until
// the demo ends.
#include "app/Platform.h"

#include "app/GlfwKeyInput.h"
#include "render/Letterbox.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>

namespace {

// The drawing buffer's longer side at most: a large screen at a high device pixel ratio would ask
// for ten thousand pixels and more, which no picture of 1600x900 needs.
constexpr int longestDrawingBufferSide = 4096;

// A key reads as pressed while it is held on the keyboard or its control on the page is held; a
// control tapped between two frames reads as pressed once (the page keeps the tap until a frame
// reads it, as sticky keys do on the desktop).
class PageKeyInput : public GlfwKeyInput {
  public:
    using GlfwKeyInput::GlfwKeyInput;
    bool isPressed(int key) const override {
        return GlfwKeyInput::isPressed(key) ||
               EM_ASM_INT({ return Module.controlPressed ? Module.controlPressed($0) : 0; }, key) !=
                   0;
    }
};

struct ContextWatch {
    std::function<void()> lost;
    std::function<void()> restored;
};
ContextWatch contextWatch;

// Set-up and a rebuild run in one go, and the context can go anywhere in them (a GPU reset; the
// loss event comes only after them). WebGL then answers null where a new object is asked for, and
// Emscripten's GL functions, or WebGL's own given that null, throw half-way. So on a lost context
// every call does nothing and answers as a working context would (a new object, a shader that
// compiled, a complete framebuffer): set-up always runs through whole, and the loss is handled
// where it is claimed. A working context is called as before.
// clang-format off
EM_JS(void, answerCallsOnLostContext, (), {
    const gl = GL.currentContext.GLctx;
    const unchanged = new Set(["constructor", "isContextLost", "getError", "getExtension",
                               "getSupportedExtensions", "getContextAttributes"]);
    const status = new Set([gl.COMPILE_STATUS, gl.LINK_STATUS, gl.VALIDATE_STATUS]);
    const nothingActive = {name: "", size: 0, type: 0};
    const answers = {
        getShaderParameter: (object, name) => status.has(name) || null,
        getProgramParameter: (object, name) => status.has(name) || null,
        checkFramebufferStatus: () => gl.FRAMEBUFFER_COMPLETE,
        getAttribLocation: () => -1,
        getShaderInfoLog: () => "",
        getProgramInfoLog: () => "",
        getActiveUniform: () => nothingActive,
        getActiveAttrib: () => nothingActive,
    };
    const answerWhenLost = (name, args) => {
        if (name in answers) return answers[name](...args);
        return name.startsWith("create") ? {} : null;
    };
    const methods = Object.getPrototypeOf(gl);
    for (const name of Object.getOwnPropertyNames(methods)) {
        const call = Object.getOwnPropertyDescriptor(methods, name).value;
        if (typeof call != "function" || unchanged.has(name)) continue;
        gl[name] = (...args) => {
            if (!gl.isContextLost()) {
                const result = call.apply(gl, args);
                // Lost during this very call.
                if (result !== null || !gl.isContextLost()) return result;
            }
            return answerWhenLost(name, args);
        };
    }
});
// clang-format on

EM_BOOL onContextLost(int, const void*, void*) {
    if (contextWatch.lost) {
        contextWatch.lost();
    }
    EM_ASM(if (Module.onContextLost) Module.onContextLost(););
    // Claims the loss (the event's default is cancelled): only then may the browser give the
    // context back.
    return EM_TRUE;
}

EM_BOOL onContextRestored(int, const void*, void*) {
    // A restored context starts with no extensions: the render targets' half floats need theirs.
    EM_ASM({
        GL.currentContext.initExtensionsDone = false;
        GL.initExtensions(GL.currentContext);
    });
    if (contextWatch.restored) {
        contextWatch.restored();
    }
    EM_ASM(if (Module.onContextRestored) Module.onContextRestored(););
    return EM_TRUE;
}

// Armed before set-up, so that a loss during it is claimed and waited for as any other; disarmed
// once the program has ended, when there is no scene left to release or rebuild.
void armContextHandlers(bool armed) {
    if (!armed) {
        contextWatch = {};
    }
    emscripten_set_webglcontextlost_callback("#canvas", nullptr, EM_FALSE,
                                             armed ? onContextLost : nullptr);
    emscripten_set_webglcontextrestored_callback("#canvas", nullptr, EM_FALSE,
                                                 armed ? onContextRestored : nullptr);
}

struct BrowserLoop {
    GLFWwindow* window;
    std::function<void()> frame;
    std::function<void()> finish;
};

void browserFrame(void* argument) {
    BrowserLoop& loop = *static_cast<BrowserLoop*>(argument);
    if (graphicsContextLost()) {
        return;
    }
    if (glfwWindowShouldClose(loop.window)) {
        emscripten_cancel_main_loop();
        armContextHandlers(false);
        loop.finish();
        // The page says the demo has ended, where a desktop would close its window.
        EM_ASM(if (Module.onDemoEnd) Module.onDemoEnd(););
        return;
    }
    loop.frame();
}

} // namespace

void prepareWindow(GLFWwindow*) {
    answerCallsOnLostContext();
    armContextHandlers(true);
}

std::unique_ptr<KeyInput> windowKeys(GLFWwindow* window) {
    return std::make_unique<PageKeyInput>(window);
}

PixelSize framebufferSize(GLFWwindow*) {
    // The page lays the canvas out; its drawing buffer follows, one pixel per device pixel, as far
    // as the GL and the cap allow.
    double cssWidth = 0.0;
    double cssHeight = 0.0;
    emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight);
    const double scale = emscripten_get_device_pixel_ratio();
    GLint viewportLimit[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportLimit);
    GLint renderbufferLimit = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferLimit);
    const int side = std::min(longestDrawingBufferSide, static_cast<int>(renderbufferLimit));
    const PixelSize wanted = fitWithin({static_cast<int>(std::lround(cssWidth * scale)),
                                        static_cast<int>(std::lround(cssHeight * scale))},
                                       {std::min(side, static_cast<int>(viewportLimit[0])),
                                        std::min(side, static_cast<int>(viewportLimit[1]))});
    PixelSize asked;
    emscripten_get_canvas_element_size("#canvas", &asked.width, &asked.height);
    if (wanted.width > 0 && wanted.height > 0 &&
        (wanted.width != asked.width || wanted.height != asked.height)) {
        emscripten_set_canvas_element_size("#canvas", wanted.width, wanted.height);
    }
    // A browser may grant a smaller drawing buffer than the canvas asks for.
    return {
        EM_ASM_INT(return GL.currentContext.GLctx.drawingBufferWidth;),
            EM_ASM_INT(return GL.currentContext.GLctx.drawingBufferHeight;)
    };
}

void watchGraphicsContext(std::function<void()> lost, std::function<void()> restored) {
    // The handlers are armed already: a loss during set-up is reported after it, and so finds
    // these.
    contextWatch = {std::move(lost), std::move(restored)};
}

bool graphicsContextLost() {
    return EM_ASM_INT(
               return GL.currentContext && GL.currentContext.GLctx.isContextLost() ? 1 : 0;) != 0;
}

void runFrameLoop(GLFWwindow* window, std::function<void()> frame, std::function<void()> finish) {
    // Lives as long as the page: the frames run after main has returned.
    static BrowserLoop loop;
    loop = {window, std::move(frame), std::move(finish)};
    emscripten_set_main_loop_arg(browserFrame, &loop, 0, false);
}

void toggleFullScreen(GLFWwindow*) {
    // A browser takes a page to full screen only on the visitor's own gesture: the page's button
    // or the browser's own F11 does it there.
}

void pictureSaved(const std::filesystem::path& file) {
    // The page's file system lives in memory: the picture leaves it as a download, so that a page
    // left open for days does not keep every picture taken.
    EM_ASM(
        {
            const path = UTF8ToString($0);
            const bytes = FS.readFile(path);
            FS.unlink(path);
            if (Module.offerPicture) {
                Module.offerPicture(UTF8ToString($1), bytes);
            }
        },
        file.string().c_str(), file.filename().string().c_str());
}

std::filesystem::path executablePath() {
    return {};
}

void exitProgram(int status) {
    armContextHandlers(false);
    // A plain exit leaves a browser's runtime alive and tells the page nothing.
    emscripten_force_exit(status);
}
