// Creating and releasing every global object, in the order the frame code relies on.
#pragma once

struct GLFWwindow;

// Needs a current 3.3 core context with GLEW loaded. Any failure ends the process (status 1).
void setUpScene(GLFWwindow* window);
// Work between set-up and the first frame: drops a pending GL error, copies the bloom switch
// and computes the two lights' view-projection matrices.
void prepareFirstFrame();
// Deletes the global objects; the GL context must still be current.
void releaseScene();
