// Creating and releasing every global object, in the order the frame code relies on.
#pragma once

#include "app/Camera.h"
#include "app/Flicker.h"
#include "scene/VolleyTimeline.h"

#include <glm/glm.hpp>

#include <array>

struct GLFWwindow;

// How far the demo has come, as far as it lives in GL-owning objects or in what set-up resets:
// the camera (its pose and the flight), the volley and where its arrows are, the fire's flicker.
// The flags (bloom, the sequence started) are globals that set-up and release leave alone.
struct DemoProgress {
    Camera camera;
    VolleyTimeline volley;
    std::array<glm::mat4, VolleyTimeline::arrowCount> arrowPlacements;
    Flicker flicker;
};

// Needs a current 3.3 core context with GLEW loaded. Any failure ends the process (status 1).
void setUpScene(GLFWwindow* window);
// Work between set-up and the first frame: drops a pending GL error, copies the bloom switch
// and computes the two lights' view-projection matrices.
void prepareFirstFrame();
// Deletes the global objects; the GL context must still be current (or lost: deleting then does
// nothing).
void releaseScene();

// Needs the scene set up.
DemoProgress demoProgress();
// After releaseScene: sets the scene up again in a new context and carries on from `progress`,
// redrawing at the next frame.
void rebuildScene(GLFWwindow* window, const DemoProgress& progress);
