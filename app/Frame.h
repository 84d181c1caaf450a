// One frame of the demo without the clock, the buffer swap and event polling, so the program,
// tests and tools all drive the same code.
#pragma once

class KeyInput;

// `dt` is the frame time in seconds.
void runFrame(KeyInput& keys, float dt);
