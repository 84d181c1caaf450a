// The real program opens its window, renders, and ends cleanly on Escape or the close button, or
// with status 1 and a line of advice when it cannot find its data.
#include "support/Process.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

namespace {

// Set-up (shader compiles, model loads) on software GL takes a few seconds.
constexpr double windowTimeoutSeconds = 60.0;
constexpr double exitTimeoutSeconds = 30.0;

class WindowLifecycleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        workDir.copyFromSource("Shader");
        if (std::filesystem::exists(std::filesystem::path(QUIVERFALL_SOURCE_DIR) / "Models")) {
            workDir.copyFromSource("Models");
        }
        program = std::make_unique<Process>(QUIVERFALL_EXECUTABLE, std::vector<std::string>{},
                                            workDir.path());
        window = findProgramWindow(*program, windowTimeoutSeconds);
        ASSERT_NE(window, 0UL) << "no window titled Quiverfall appeared; output:\n"
                               << program->standardOutput();
    }

    void expectCleanExit(std::optional<int> status) {
        EXPECT_EQ(status, std::optional<int>(0)) << "the program did not end cleanly";
        EXPECT_EQ(program->standardOutput().find("GL ERROR DETECTED!!"), std::string::npos)
            << program->standardOutput();
    }

    TempDirectory workDir;
    std::unique_ptr<Process> program;
    unsigned long window = 0;
};

// That it keeps running without input, frame after frame, is seen by the pacing test of
// DesktopWindowTest, which counts the frames.
TEST_F(WindowLifecycleTest, TheWindowOpensAtTheDemosFullSizeAndEscapeEndsTheProgram) {
    const Picture image = captureWindow(window);
    EXPECT_EQ(image.width, 1600);
    EXPECT_EQ(image.height, 900);
    EXPECT_TRUE(program->running());
    expectCleanExit(quitWithEscape(*program, window, exitTimeoutSeconds));
}

TEST_F(WindowLifecycleTest, CloseButtonEndsTheProgramWithStatusZero) {
    ASSERT_TRUE(requestWindowClose(window));
    expectCleanExit(program->waitForExit(exitTimeoutSeconds));
}

// A copy of the program started from an empty folder, with the data neither there nor above the
// copy: the load line, then where the data was looked for.
// Its window opens before the load that fails, so this test takes its turn with the other windows.
TEST(StartFolderTest, WithoutDataHereOrAboveTheProgramItSaysWhereItLookedAndStops) {
    const TempDirectory programFolder;
    const TempDirectory empty;
    const std::filesystem::path program = programFolder.path() / "quiverfall";
    std::filesystem::copy_file(QUIVERFALL_EXECUTABLE, program);
    Process run(program.string(), {}, empty.path());
    EXPECT_EQ(run.waitForExit(windowTimeoutSeconds), std::optional<int>(1));
    const std::string advice =
        "Looked for Shader/ and Models/ in " + std::filesystem::canonical(empty.path()).string() +
        ", beside the program in " + std::filesystem::canonical(programFolder.path()).string() +
        " and in the folders above it: the demo starts from the folder that holds Shader/ and "
        "Models/.";
    EXPECT_EQ(run.standardOutput(),
              "ERROR: Could not load file ./Shader/standardShading.vert\n" + advice + "\n");
}

} // namespace
