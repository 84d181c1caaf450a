// Fixture for tests that share the demo's one set-up: each test may move the camera, run the
// flight for a while or switch bloom, and leaves the demo as it found it, so the tests of the
// binary run alone or in any order.
#pragma once

#include "app/Camera.h"
#include "app/Globals.h"
#include "render/PostProcessing.h"

#include <gtest/gtest.h>

class RestoresDemoState : public ::testing::Test {
  protected:
    void SetUp() override { savedCamera_ = camera; }
    void TearDown() override {
        camera = savedCamera_;
        setBloom(true);
        sequenceStarted = false;
        needsRedraw = true;
    }

    static void setBloom(bool on) {
        bloomEnabled = on;
        postProcessing->bloom = on;
    }

  private:
    Camera savedCamera_;
};
