// quiverfall-capture: the demo's scripted flight and arrow volley rendered off-screen at a fixed
// time step, saved as PNG frames and a contact sheet.
#include "CaptureOptions.h"
#include "ContactSheet.h"

#include "app/Camera.h"
#include "app/Frame.h"
#include "app/Globals.h"
#include "app/SceneSetup.h"
#include "app/ScriptedKeys.h"
#include "offscreen/OffscreenWindow.h"
#include "scene/ArrowVolley.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string frameName(float time) {
    char name[64];
    std::snprintf(name, sizeof(name), "frame_%05.2f.png", static_cast<double>(time));
    return name;
}

bool save(const Picture& picture, const std::filesystem::path& path, bool quiet) {
    if (!savePng(picture, path.string())) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return false;
    }
    if (!quiet) {
        std::printf("wrote %s\n", path.c_str());
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    bool helpShown = false;
    if (!parseCaptureOptions(argc, argv, options, helpShown)) {
        return 2;
    }
    if (helpShown) {
        return 0;
    }
    const std::filesystem::path out(options.outputDirectory);
    std::filesystem::create_directories(out);

    GLFWwindow* window = createHiddenWindow("Quiverfall");
    if (window == nullptr) {
        return 1;
    }
    setUpScene(window);
    prepareFirstFrame();

    ScriptedKeys keys;
    std::vector<Picture> sheet;
    runFrame(keys, options.dt);
    Picture picture = readWindowPixels();
    bool ok = save(picture, out / "frame_start.png", options.quiet);
    sheet.push_back(picture);

    if (options.flight) {
        keys.held = {GLFW_KEY_C};
        float elapsed = 0.0f;
        size_t nextTime = 0;
        int frames = 0;
        const bool toBlack = options.until <= 0.0f;
        const float stop = toBlack ? options.limit : options.until;
        while (ok && !arrowVolley->finished() && elapsed < stop) {
            runFrame(keys, options.dt);
            keys.held.clear();
            elapsed += options.dt;
            ++frames;
            if (!options.quiet && frames % 30 == 0) {
                std::printf("\rrendering: %5.1f s of flight", static_cast<double>(elapsed));
                std::fflush(stdout);
            }
            while (nextTime < options.times.size() && elapsed >= options.times[nextTime]) {
                if (!options.quiet) {
                    std::printf("\r");
                }
                picture = readWindowPixels();
                ok = ok && save(picture, out / frameName(options.times[nextTime]), options.quiet);
                sheet.push_back(picture);
                ++nextTime;
            }
        }
        if (ok && arrowVolley->finished()) {
            // The frame that ended the volley shows the last arrow where it struck.
            picture = readWindowPixels();
            ok = save(picture, out / "frame_last.png", options.quiet);
            sheet.push_back(picture);
            runFrame(keys, options.dt);
            ok = save(readWindowPixels(), out / "frame_black.png", options.quiet);
        } else if (ok && toBlack) {
            std::fprintf(stderr, "the volley did not end within %.1f s of flight\n",
                         static_cast<double>(options.limit));
            ok = false;
        }
    }
    if (ok && options.contactSheet) {
        ok = writeContactSheet(sheet, (out / "contact_sheet.png").string());
        if (ok && !options.quiet) {
            std::printf("wrote %s\n", (out / "contact_sheet.png").c_str());
        }
    }
    if (glGetError() != GL_NO_ERROR) {
        std::fprintf(stderr, "GL ERROR DETECTED!!\n");
        ok = false;
    }
    releaseScene();
    glfwTerminate();
    return ok ? 0 : 1;
}
