#include "app/Frame.h"

#include "app/Camera.h"
#include "app/Controls.h"
#include "app/FireLight.h"
#include "app/Flight.h"
#include "app/Globals.h"
#include "render/LastPicture.h"
#include "render/PostProcessing.h"
#include "render/ShadowMap.h"
#include "scene/Arrow.h"
#include "scene/ArrowVolley.h"
#include "scene/Scene.h"

#include <GL/glew.h>

namespace {

bool volleyActive() {
    return camera.volleyCue && sequenceStarted;
}

// Runs one pass, telling the observer (if any) where it begins and ends.
template <typename Pass> void run(FramePassObserver* observer, FramePass pass, Pass&& work) {
    if (observer != nullptr) {
        observer->passBegins(pass);
    }
    work();
    if (observer != nullptr) {
        observer->passEnds(pass);
    }
}

// While the volley runs every frame is redrawn, and the arrow in flight (or the next one, during
// a pause) casts shadows as the second entry of the casters.
void volleyStep() {
    needsRedraw = true;
    Arrow* current = arrowVolley->currentArrow();
    if (shadowCasters.size() > 1) {
        shadowCasters[1] = current;
    } else {
        shadowCasters.push_back(current);
    }
}

void redraw(float dt, FramePassObserver* observer) {
    run(observer, FramePass::fireShadow, [] { fireShadow->render(shadowCasters, fireLightVP); });
    run(observer, FramePass::mainShadow, [] { lightShadow->render(shadowCasters, mainLightVP); });
    if (volleyActive()) {
        run(observer, FramePass::arrow, [dt] {
            if (demoPaused) {
                arrowVolley->drawStill(cameraProjection, camera.view, fireLightVP, mainLightVP,
                                       fireShadow->depthTexture(), lightShadow->depthTexture());
            } else {
                arrowVolley->update(cameraProjection, camera.view, fireLightVP, mainLightVP,
                                    fireShadow->depthTexture(), lightShadow->depthTexture(), dt);
            }
        });
    }
    run(observer, FramePass::room, [] {
        scene->draw(cameraProjection, camera.view, fireLightVP, mainLightVP,
                    fireShadow->depthTexture(), lightShadow->depthTexture());
    });
    run(observer, FramePass::blur, [] { postProcessing->blur(); });
    run(observer, FramePass::composite,
        [] { postProcessing->composite(lastPicture->framebuffer()); });
}

} // namespace

void runFrame(KeyInput& keys, float dt, PixelSize window, FramePassObserver* observer) {
    handleKeys(keys);
    // Paused, the demo's time stands still: the flight, the arrows and the fire stay as they are,
    // and only a move or a turn redraws.
    if (!demoPaused) {
        updateFlight(dt);
    }

    run(observer, FramePass::sceneClear, [] {
        glBindFramebuffer(GL_FRAMEBUFFER, postProcessing->sceneFramebuffer());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    });
    fireLight->flicker(demoPaused ? 0.0f : dt);

    if (arrowVolley->finished()) {
        // The volley is over: from now on the window only shows the clear colour.
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    if (volleyActive() && !demoPaused) {
        volleyStep();
    }
    if (needsRedraw) {
        redraw(dt, observer);
        needsRedraw = false;
    }
    // Redrawn or not, the window gets the whole picture at its current size: its back buffer is
    // undefined after a swap on most desktops, and a resize changes it without a redraw.
    run(observer, FramePass::present, [window] { lastPicture->present(window); });
    glUseProgram(0);
}
