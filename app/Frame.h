// One frame of the demo without the clock, the buffer swap and event polling, so the program,
// tests and tools all drive the same code.
#pragma once

#include "render/FrameSize.h"

class KeyInput;

// The passes of a frame, in the order they run: the clear of the scene framebuffer (every frame);
// in a redrawn frame the two shadow maps, the arrow in flight, the room, the blur and the
// composite into the finished picture; then (every frame until the volley has ended) the picture
// presented in the window.
enum class FramePass {
    sceneClear,
    fireShadow,
    mainShadow,
    arrow,
    room,
    blur,
    composite,
    present,
};

// Told where each pass of a frame begins and ends. The program runs its frames without one; the
// bench times the passes of the program's own frame with it.
class FramePassObserver {
  public:
    virtual ~FramePassObserver() = default;
    virtual void passBegins(FramePass pass) = 0;
    virtual void passEnds(FramePass pass) = 0;
};

// `dt` is the frame time in seconds; `window` the size of the window's framebuffer now, which the
// picture is scaled to fit.
void runFrame(KeyInput& keys, float dt, PixelSize window, FramePassObserver* observer = nullptr);
