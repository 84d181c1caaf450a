// The keyboard as the frame logic sees it: a level per key and a way to ask the window to close.
// The program backs it with GLFW; tests and tools back it with scripted keys.
#pragma once

class KeyInput {
  public:
    virtual ~KeyInput() = default;
    // True while the key (a GLFW_KEY_* code) reads as pressed.
    virtual bool isPressed(int key) const = 0;
    virtual void requestClose() = 0;
};
