// quiverfall-bench: how long each render pass of the demo takes in a hidden window, how the bloom
// blur compares with the cheapest possible chain and with the usual tutorial bloom, and how much
// memory the demo holds.
#include "BenchFrames.h"
#include "BenchOptions.h"
#include "Measure.h"
#include "PassTimer.h"
#include "ReferenceBlurs.h"
#include "Report.h"
#include "RunTool.h"

#include "app/SceneSetup.h"
#include "app/ScriptedKeys.h"
#include "offscreen/OffscreenWindow.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace {

// Counts every pending error; a lost context keeps reporting one, hence the bound.
int takeGlErrors() {
    int errors = 0;
    while (errors < 64 && glGetError() != GL_NO_ERROR) {
        ++errors;
    }
    return errors;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // Linux reports kilobytes
}

// The bench itself, run by runTool in the data folder with the paths it was given made absolute.
int runBench(const BenchOptions& options) {
    std::optional<std::map<std::string, double>> earlier;
    if (!options.comparePath.empty()) {
        earlier = readEarlierRun(options.comparePath);
        if (!earlier) {
            return 1;
        }
    }
    if (!options.jsonPath.empty() && !canWriteReport(options.jsonPath)) {
        return 1;
    }

    GLFWwindow* window = createHiddenWindow("Quiverfall");
    if (window == nullptr) {
        return 1;
    }
    setUpScene(window);
    prepareFirstFrame();

    RunFacts facts;
    facts.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    int glErrors = 0;
    bool written = false;
    {
        ScriptedKeys keys;
        PassTimer timer(measureCount);
        ReferenceBlurs references;
        glErrors += takeGlErrors();

        // Passes and whole frames alternate, so both see the same share of a busy CPU.
        for (int round = 0; round < options.warmupFrames + options.redrawFrames; ++round) {
            const bool keep = round >= options.warmupFrames;
            timeRedrawPasses(timer, references, keys, window, keep);
            glErrors += takeGlErrors();
            timeRedrawFrame(timer, keys, window, keep);
            glErrors += takeGlErrors();
        }
        for (int frame = 0; frame < options.warmupFrames + options.idleFrames; ++frame) {
            timeIdleFrame(timer, keys, window, frame >= options.warmupFrames);
            glErrors += takeGlErrors();
        }

        facts.peakResidentMb = peakResidentMegabytes();
        facts.glErrors = glErrors;
        written = printReport(timer, options, facts, earlier ? &*earlier : nullptr);
    }
    releaseScene();
    glfwTerminate();
    return glErrors == 0 && written ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    return runTool(argc, argv, parseBenchOptions,
                   {&BenchOptions::comparePath, &BenchOptions::jsonPath}, runBench);
}
