// Quiverfall: opens the window, sets up the scene, runs the frame loop and shuts down.
#include "app/CommandKeys.h"
#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/FatalError.h"
#include "app/Frame.h"
#include "app/FrameClock.h"
#include "app/Globals.h"
#include "app/KeyInput.h"
#include "app/PictureFile.h"
#include "app/Platform.h"
#include "app/SceneSetup.h"
#include "render/ContextHints.h"
#include "render/FrameSize.h"
#include "render/GlDebugReport.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <filesystem>
#include <iostream>
#include <memory>

namespace {

// One frame of the program: the frame time, the frame itself at the window's size now (no size
// callback is needed when every frame asks), the swap, the events and the GL error check.
// Pictures saved with F12 go to `pictureFolder`.
class ProgramFrame {
  public:
    ProgramFrame(GLFWwindow* window, std::filesystem::path pictureFolder)
        : window_(window), keys_(windowKeys(window)), clock_(glfwGetTime()),
          pictureFolder_(std::move(pictureFolder)) {}

    void operator()() {
        const float dt = clock_.frameTime(glfwGetTime());

        const Commands commands = commandKeys_.read(*keys_);
        if (commands.togglePause) {
            demoPaused = !demoPaused;
        }
        runFrame(*keys_, dt, framebufferSize(window_));
        if (commands.savePicture) {
            const std::filesystem::path saved = savePicture(*lastPicture, pictureFolder_);
            if (!saved.empty()) {
                pictureSaved(saved);
            }
        }
        if (commands.toggleFullScreen) {
            toggleFullScreen(window_);
        }

        glfwSwapBuffers(window_);
        glfwPollEvents();
        // A context lost during the frame sets the error flag to say so; that is no fault.
        if (glGetError() != GL_NO_ERROR && !graphicsContextLost()) {
            std::cout << "GL ERROR DETECTED!!" << std::endl;
        }
    }

  private:
    GLFWwindow* window_;
    // Shared: the frame loop holds the frame as a copyable function.
    std::shared_ptr<KeyInput> keys_;
    FrameClock clock_;
    CommandKeys commandKeys_;
    std::filesystem::path pictureFolder_;
};

// Where the demo had come to when the browser took its GL context away.
DemoProgress progressWhileContextLost;

} // namespace

int main(int argc, char** argv) {
    const CommandLine command = readCommandLine(argc, argv);
    switch (command.action) {
    case CommandLine::Action::showHelp:
        std::cout << programHelp;
        return 0;
    case CommandLine::Action::showVersion:
        std::cout << programVersion;
        return 0;
    case CommandLine::Action::refuse:
        std::cerr << "quiverfall: unknown option " << command.refused << "\n\n" << programHelp;
        return 2;
    case CommandLine::Action::run:
        break;
    }
    // Pictures go where the user started the program, not to the data folder it may move to.
    std::error_code noFolder;
    const std::filesystem::path startFolder = std::filesystem::current_path(noFolder);
    // A failure to find the data shows when the first shader is read, with dataFolderAdvice.
    enterDataFolder();
    if (!glfwInit()) {
        fatalError("failed to init glfw\n");
    }
    requestCoreContext();
#ifdef QUIVERFALL_GL_DEBUG
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
#endif

    GLFWwindow* window = glfwCreateWindow(frameWidth, frameHeight, "Vantor Demo", nullptr, nullptr);
    if (window == nullptr) {
        std::cout << "Failed to open GLFW window" << std::endl;
        glfwTerminate();
        stopAfterFatalError();
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::cout << "Failed to initialize GLEW" << std::endl;
        glfwTerminate();
        stopAfterFatalError();
    }
    prepareWindow(window);
#ifdef QUIVERFALL_GL_DEBUG
    if (!installGlDebugReport(stderr)) {
        std::cerr << "GL debug report: this context offers no debug output" << std::endl;
    }
#endif

    setUpScene(window);
    prepareFirstFrame();
    if (command.fullScreen) {
        toggleFullScreen(window);
    }
    watchGraphicsContext(
        [] {
            progressWhileContextLost = demoProgress();
            releaseScene();
        },
        [window] { rebuildScene(window, progressWhileContextLost); });

    runFrameLoop(window, ProgramFrame(window, startFolder), [] {
        // The destructors delete GL objects, so release while the context still exists.
        releaseScene();
        glfwTerminate();
    });
    return 0;
}
