// The context every window of the program, the tools and the tests asks for.
#pragma once

// GLFW window hints for an OpenGL 3.3 core context. macOS opens a core context only when it is
// also forward-compatible, so that hint is added there (and only there). A browser gives WebGL2
// for these hints.
void requestCoreContext();
