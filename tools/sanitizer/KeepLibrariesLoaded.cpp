// Linked into every program of the sanitizer build that uses the core library: shared libraries
// stay loaded until the process ends, so the leak report at exit can still name the library an
// allocation came from.
//
// GLFW unloads the X11 and GL libraries it opened in glfwTerminate, and Mesa unloads its driver
// (swrast_dri.so, with LLVM) when the display closes. The leak checker runs after that; blocks
// those libraries allocated would then be reported from "<unknown module>", where no suppression
// can tell them from our own. This definition takes the place of the C library's dlclose for
// every library the program loads, and leaves each one loaded.
extern "C" int dlclose(void*) {
    return 0;
}
