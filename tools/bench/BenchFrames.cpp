#include "BenchFrames.h"

#include "Measure.h"
#include "PassTimer.h"
#include "ReferenceBlurs.h"

#include "app/Camera.h"
#include "app/Frame.h"
#include "app/Globals.h"
#include "render/PostProcessing.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iterator>
#include <optional>

namespace {

void swapAndPollEvents(GLFWwindow* window) {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

// The bench's row for each pass of the program's frame, in FramePass order.
constexpr Measure passRows[] = {clearPass, fireShadowPass, mainShadowPass, arrowPass,
                                roomPass,  blurPass,       compositePass,  presentPicturePass};
static_assert(std::size(passRows) == static_cast<size_t>(FramePass::present) + 1,
              "one row for each pass of the frame");

Measure measureOf(FramePass pass) {
    return passRows[static_cast<size_t>(pass)];
}

// Times the passes of the program's own frame, all of them or only the one given: each row may
// be timed once per bench frame.
class PassTimingObserver : public FramePassObserver {
  public:
    explicit PassTimingObserver(PassTimer& timer) : timer_(timer) {}
    PassTimingObserver(PassTimer& timer, FramePass only) : timer_(timer), only_(only) {}

    void passBegins(FramePass pass) override {
        if (timed(pass)) {
            timer_.begin(measureOf(pass));
        }
    }
    void passEnds(FramePass pass) override {
        if (timed(pass)) {
            timer_.end(measureOf(pass));
        }
    }

  private:
    bool timed(FramePass pass) const { return !only_.has_value() || *only_ == pass; }

    PassTimer& timer_;
    std::optional<FramePass> only_;
};

} // namespace

void timeRedrawPasses(PassTimer& timer, ReferenceBlurs& references, KeyInput& keys,
                      GLFWwindow* window, bool keep) {
    // The program's own frame, redrawn, with the volley running so that the arrow pass runs too.
    camera.volleyCue = true;
    sequenceStarted = true;
    PassTimingObserver everyPass(timer);
    runFrame(keys, benchFrameStep, frameSize, &everyPass);

    // Colour attachment 1 of the scene framebuffer still holds this frame's bloom image.
    const GLuint bloomImage = postProcessing->sceneTexture(1);
    timer.time(copyFloorChain, [&] { references.runCopyFloor(bloomImage); });
    timer.time(tutorialBloomChain, [&] { references.runTutorialBloom(bloomImage); });
    glUseProgram(0);
    swapAndPollEvents(window);
    timer.endFrame(keep);
}

void timeRedrawFrame(PassTimer& timer, KeyInput& keys, GLFWwindow* window, bool keep) {
    camera.volleyCue = true;
    sequenceStarted = true;
    timer.time(redrawFrame, [&] { runFrame(keys, benchFrameStep, frameSize); });
    swapAndPollEvents(window);
    timer.endFrame(keep);
}

void timeIdleFrame(PassTimer& timer, KeyInput& keys, GLFWwindow* window, bool keep) {
    camera.volleyCue = false;
    needsRedraw = false;
    timer.time(idleFrame, [&] { runFrame(keys, benchFrameStep, frameSize); });
    timer.timeWall(swapAndPoll, [&] { swapAndPollEvents(window); });
    timer.endFrame(keep);
}
