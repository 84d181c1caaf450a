// One frame of the demo without the clock, the buffer swap and event polling, so the program,
// tests and tools all drive the same code.
#pragma once

class KeyInput;

// The passes of a frame, in the order they run: the clear of the scene framebuffer (every frame);
// in a redrawn frame the two shadow maps, the arrow in flight, the room, the blur, the composite
// and the copy of the finished picture; in a frame without a redraw the copy put back into the
// window instead.
enum class FramePass {
    sceneClear,
    fireShadow,
    mainShadow,
    arrow,
    room,
    blur,
    composite,
    keepPicture,
    presentPicture,
};

// Told where each pass of a frame begins and ends. The program runs its frames without one; the
// bench times the passes of the program's own frame with it.
class FramePassObserver {
  public:
    virtual ~FramePassObserver() = default;
    virtual void passBegins(FramePass pass) = 0;
    virtual void passEnds(FramePass pass) = 0;
};

// `dt` is the frame time in seconds.
void runFrame(KeyInput& keys, float dt, FramePassObserver* observer = nullptr);
