#include "BenchFrames.h"

#include "Measure.h"
#include "PassTimer.h"
#include "ReferenceBlurs.h"

#include "app/Camera.h"
#include "app/FireLight.h"
#include "app/Frame.h"
#include "app/Globals.h"
#include "render/LastPicture.h"
#include "render/PostProcessing.h"
#include "render/ShadowMap.h"
#include "scene/Arrow.h"
#include "scene/ArrowVolley.h"
#include "scene/Scene.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

void present(GLFWwindow* window) {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

} // namespace

void timeRedrawPasses(PassTimer& timer, ReferenceBlurs& references, GLFWwindow* window, bool keep) {
    timer.time(clearPass, [] {
        glBindFramebuffer(GL_FRAMEBUFFER, postProcessing->sceneFramebuffer());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    });
    fireLight->flicker(benchFrameStep);
    timer.time(fireShadowPass, [] { fireShadow->render(shadowCasters, fireLightVP); });
    timer.time(mainShadowPass, [] { lightShadow->render(shadowCasters, mainLightVP); });
    // Advancing the volley would move the arrow from round to round (and end the volley); drawn
    // in place, every round costs the same.
    timer.time(arrowPass, [] {
        arrowVolley->currentArrow()->draw(cameraProjection, camera.view, fireLightVP, mainLightVP,
                                          fireShadow->depthTexture(), lightShadow->depthTexture());
    });
    timer.time(roomPass, [] {
        scene->draw(cameraProjection, camera.view, fireLightVP, mainLightVP,
                    fireShadow->depthTexture(), lightShadow->depthTexture());
    });
    timer.time(blurPass, [] { postProcessing->blur(); });
    timer.time(compositePass, [] { postProcessing->composite(); });
    timer.time(keepPicturePass, [] { lastPicture->keepFromWindow(); });
    timer.time(presentPicturePass, [] { lastPicture->presentToWindow(); });
    glUseProgram(0);

    // Colour attachment 1 of the scene framebuffer still holds this frame's bloom image.
    const GLuint bloomImage = postProcessing->sceneTexture(1);
    timer.time(copyFloorChain, [&] { references.runCopyFloor(bloomImage); });
    timer.time(tutorialBloomChain, [&] { references.runTutorialBloom(bloomImage); });
    glUseProgram(0);

    present(window);
    timer.endFrame(keep);
}

void timeRedrawFrame(PassTimer& timer, KeyInput& keys, GLFWwindow* window, bool keep) {
    needsRedraw = true;
    timer.time(redrawFrame, [&] { runFrame(keys, benchFrameStep); });
    present(window);
    timer.endFrame(keep);
}

void timeIdleFrame(PassTimer& timer, KeyInput& keys, GLFWwindow* window, bool keep) {
    needsRedraw = false;
    timer.time(idleFrame, [&] { runFrame(keys, benchFrameStep); });
    timer.timeWall(swapAndPoll, [&] { present(window); });
    timer.endFrame(keep);
}
