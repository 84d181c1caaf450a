// Loaded into the real program with LD_PRELOAD in place of GLFW's clock: every reading is a fixed
// step (QUIVERFALL_TEST_FRAME_SECONDS, default 0.8 s) later than the one before. The program reads
// the clock once before its loop and once per frame, so every frame lasts exactly one step of
// demo time however fast the machine draws it: a slow machine, without the wait.
#include <cstdlib>

extern "C" double glfwGetTime() {
    static const char* setting = std::getenv("QUIVERFALL_TEST_FRAME_SECONDS");
    static const double step = setting != nullptr ? std::atof(setting) : 0.8;
    static long readings = 0;
    return step * static_cast<double>(readings++);
}
