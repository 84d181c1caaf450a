// A model file that cannot be read is not fatal: the import library's message goes to standard
// error, the program waits for Enter only when someone at a terminal can press it, then goes on
// without that model.
#include "support/Eventually.h"
#include "support/Process.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

namespace {

// Set-up on software GL takes a few seconds; this leaves plenty of room.
constexpr double startupTimeoutSeconds = 60.0;
// On a line of its own: the import library's message before it on the console ends without one.
const std::string prompt = "\nPress Enter to continue . . .";

class ModelImportFailureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        workDir.copyFromSource("Shader");
        workDir.copyFromSource("Models");
        std::filesystem::remove(workDir.path() / "Models/room.obj");
    }

    // Escape must end a program that went on past the failed import, with status 0.
    static void expectItRunsAndQuits(Process& program) {
        const unsigned long window = findProgramWindow(program, startupTimeoutSeconds);
        ASSERT_NE(window, 0UL);
        quit(program, window);
    }

    static void quit(Process& program, unsigned long window) {
        EXPECT_EQ(quitWithEscape(program, window, startupTimeoutSeconds), std::optional<int>(0))
            << "the program did not go on after the failed import";
    }

    TempDirectory workDir;
};

TEST_F(ModelImportFailureTest, AtATerminalItPromptsAndWaitsForEnter) {
    ProcessOptions console;
    console.terminalInput = true;
    Process program(QUIVERFALL_EXECUTABLE, {}, workDir.path(), console);

    eventually(startupTimeoutSeconds, [&] {
        return program.standardOutput().find(prompt) != std::string::npos || !program.running();
    });
    ASSERT_EQ(program.standardOutput(), prompt) << "stderr: " << program.standardError();
    EXPECT_NE(program.standardError().find("room.obj"), std::string::npos)
        << "the import library's message is missing: " << program.standardError();

    // Waiting, not gone on: keys are read only by frames, so Escape cannot end it before Enter.
    const unsigned long window = findProgramWindow(program, startupTimeoutSeconds);
    ASSERT_NE(window, 0UL);
    ASSERT_TRUE(sendKey(window, "Escape"));
    // The prompt comes just before the read: allow the program the moment between the two.
    eventually(startupTimeoutSeconds,
               [&] { return blockedReadingStandardInput(program.pid()) || !program.running(); });
    ASSERT_TRUE(program.running());
    EXPECT_TRUE(blockedReadingStandardInput(program.pid())) << "the program did not wait for Enter";

    ASSERT_TRUE(program.typeOnTerminal("\n"));
    quit(program, window);
    EXPECT_EQ(program.standardOutput(), prompt);
}

TEST_F(ModelImportFailureTest, WithoutATerminalItNeitherPromptsNorWaits) {
    Process program(QUIVERFALL_EXECUTABLE, {}, workDir.path());
    expectItRunsAndQuits(program);
    EXPECT_EQ(program.standardOutput(), "");
    EXPECT_NE(program.standardError().find("room.obj"), std::string::npos)
        << program.standardError();
}

} // namespace
