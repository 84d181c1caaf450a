#include "app/Controls.h"

#include "app/KeyInput.h"

#include <GLFW/glfw3.h>

void handleKeys(KeyInput& keys) {
    if (keys.isPressed(GLFW_KEY_ESCAPE)) {
        keys.requestClose();
        return;
    }
}
