// Scripted keys for tests: a set of keys held down and a record of close requests.
#pragma once

#include "app/KeyInput.h"

#include <set>

class FakeKeyInput : public KeyInput {
  public:
    bool isPressed(int key) const override { return held.count(key) != 0; }
    void requestClose() override { closeRequested = true; }

    std::set<int> held;
    bool closeRequested = false;
};
