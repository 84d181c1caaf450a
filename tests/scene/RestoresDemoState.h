// Fixture for tests that share the demo's one set-up: each test may move the camera, run the
// flight or the volley for a while, flicker the fire or switch bloom, and leaves the demo as it
// found it, so the tests of the binary run alone or in any order.
#pragma once

#include "app/Camera.h"
#include "app/FireLight.h"
#include "app/Globals.h"
#include "render/PostProcessing.h"

#include <gtest/gtest.h>

#include <vector>

class RestoresDemoState : public ::testing::Test {
  protected:
    // The fire starts each test at its first colour, whatever an earlier test flickered it to:
    // still views redraw with no time passing and show the colour they find.
    void SetUp() override {
        savedCamera_ = camera;
        savedShadowCasters_ = shadowCasters;
        const glm::vec3 firePosition = fireLight->position();
        delete fireLight;
        fireLight = new FireLight(firePosition, standardShadingProgram);
        glUseProgram(0);
    }
    void TearDown() override {
        camera = savedCamera_;
        shadowCasters = savedShadowCasters_;
        setBloom(true);
        sequenceStarted = false;
        demoPaused = false;
        needsRedraw = true;
    }

    static void setBloom(bool on) {
        bloomEnabled = on;
        postProcessing->bloom = on;
    }

  private:
    Camera savedCamera_;
    // A frame of the volley adds the arrow in flight to the casters.
    std::vector<SceneObject*> savedShadowCasters_;
};
