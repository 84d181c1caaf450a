// The real program opens its window, renders, and ends cleanly on Escape or the close button.
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
        window = findWindowByTitle("Quiverfall", windowTimeoutSeconds);
        ASSERT_NE(window, 0UL) << "no window titled Quiverfall appeared; output:\n"
                               << program->standardOutput();
    }

    void expectCleanExit() {
        const std::optional<int> status = program->waitForExit(exitTimeoutSeconds);
        ASSERT_TRUE(status.has_value()) << "the program did not end";
        EXPECT_EQ(*status, 0);
        EXPECT_EQ(program->standardOutput().find("GL ERROR DETECTED!!"), std::string::npos)
            << program->standardOutput();
    }

    TempDirectory workDir;
    std::unique_ptr<Process> program;
    unsigned long window = 0;
};

TEST_F(WindowLifecycleTest, EscapeEndsTheProgramWithStatusZero) {
    EXPECT_TRUE(program->running());
    ASSERT_TRUE(sendKey(window, "Escape"));
    expectCleanExit();
}

TEST_F(WindowLifecycleTest, CloseButtonEndsTheProgramWithStatusZero) {
    ASSERT_TRUE(requestWindowClose(window));
    expectCleanExit();
}

TEST_F(WindowLifecycleTest, WindowIsTheFullSizeAndKeepsRunningWithoutInput) {
    const WindowImage image = captureWindow(window);
    EXPECT_EQ(image.width, 1600);
    EXPECT_EQ(image.height, 900);
    EXPECT_FALSE(program->waitForExit(2.0).has_value()) << "the program ended by itself";
    ASSERT_TRUE(sendKey(window, "Escape"));
    expectCleanExit();
}

} // namespace
