// KeyInput backed by glfwGetKey on the program's window.
#pragma once

#include "app/KeyInput.h"

struct GLFWwindow;

class GlfwKeyInput : public KeyInput {
  public:
    explicit GlfwKeyInput(GLFWwindow* window) : window_(window) {}
    bool isPressed(int key) const override;
    void requestClose() override;

  private:
    GLFWwindow* window_;
};
