#include "app/GlfwKeyInput.h"

#include <GLFW/glfw3.h>

bool GlfwKeyInput::isPressed(int key) const {
    return glfwGetKey(window_, key) == GLFW_PRESS;
}

void GlfwKeyInput::requestClose() {
    glfwSetWindowShouldClose(window_, GLFW_TRUE);
}
