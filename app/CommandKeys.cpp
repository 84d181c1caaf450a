#include "app/CommandKeys.h"

#include "app/KeyInput.h"

#include <GLFW/glfw3.h>

namespace {

// True on the frame the key goes down, so a key held over many frames acts once.
bool wentDown(bool down, bool& held) {
    const bool pressed = down && !held;
    held = down;
    return pressed;
}

} // namespace

Commands CommandKeys::read(const KeyInput& keys) {
    const bool alt = keys.isPressed(GLFW_KEY_LEFT_ALT) || keys.isPressed(GLFW_KEY_RIGHT_ALT);
    const bool fullScreenKey =
        keys.isPressed(GLFW_KEY_F11) || (alt && keys.isPressed(GLFW_KEY_ENTER));
    Commands commands;
    commands.togglePause = wentDown(keys.isPressed(GLFW_KEY_P), pauseHeld_);
    commands.toggleFullScreen = wentDown(fullScreenKey, fullScreenHeld_);
    commands.savePicture = wentDown(keys.isPressed(GLFW_KEY_F12), saveHeld_);
    return commands;
}
