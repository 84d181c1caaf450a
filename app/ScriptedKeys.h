// KeyInput for tools and tests: the keys held in the current frame are set by a script, and a
// close request is only recorded.
#pragma once

#include "app/KeyInput.h"

#include <set>

class ScriptedKeys : public KeyInput {
  public:
    bool isPressed(int key) const override { return held.count(key) != 0; }
    void requestClose() override { closeRequested = true; }

    std::set<int> held;
    bool closeRequested = false;
};
