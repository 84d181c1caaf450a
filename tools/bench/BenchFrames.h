// The frames the bench times. Each runs the demo's own objects and ends as the program's loop
// ends a frame (swap, poll), so the driver sees the same sequence of work as in the program.
#pragma once

class KeyInput;
class PassTimer;
class ReferenceBlurs;
struct GLFWwindow;

// Fixed, so the fire flickers the same way in every run; the clock plays no part in what is drawn.
constexpr float benchFrameStep = 1.0f / 60.0f;

// The program's own redrawn frame, one timer per pass, with the arrow volley running; then the two
// reference chains on this frame's bloom image. Samples count only when `keep`.
void timeRedrawPasses(PassTimer& timer, ReferenceBlurs& references, KeyInput& keys,
                      GLFWwindow* window, bool keep);
// runFrame as one unit, redrawn because the volley runs.
void timeRedrawFrame(PassTimer& timer, KeyInput& keys, GLFWwindow* window, bool keep);
// runFrame with nothing to redraw and the volley stopped, then the swap and event poll on their
// own.
void timeIdleFrame(PassTimer& timer, KeyInput& keys, GLFWwindow* window, bool keep);
