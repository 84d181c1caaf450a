// Base fixture for tests of the frame logic: every case starts from the camera record's static
// start (eye at (0, 0, -24), before set-up moves it) and the flags' start values, whatever earlier
// cases left in the globals.
#pragma once

#include "app/Camera.h"
#include "app/Controls.h"
#include "app/Globals.h"
#include "app/ScriptedKeys.h"

#include <gtest/gtest.h>

class AppStateTest : public testing::Test {
  protected:
    void SetUp() override { resetAppState(); }

    static void resetAppState() {
        camera = Camera{};
        // Cleared, unlike at program start, so a case can see whether something set it.
        needsRedraw = false;
        bloomEnabled = true;
        sequenceStarted = false;
    }

    // One frame's key handling with only this key held.
    static void press(int key) {
        ScriptedKeys keys;
        keys.held = {key};
        handleKeys(keys);
    }
};
