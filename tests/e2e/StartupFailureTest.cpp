// The program stops with status 1 and the system's own line when a shader source is unusable.
#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

// Start-up failures happen before the first frame; this leaves plenty of room on software GL.
constexpr double startupTimeoutSeconds = 60.0;

class StartupFailureTest : public ::testing::Test {
  protected:
    void SetUp() override { workDir.copyFromSource("Shader"); }

    ProgramRun run() { return runProgram(workDir.path(), startupTimeoutSeconds); }

    TempDirectory workDir;
};

TEST_F(StartupFailureTest, MissingBlurFragmentSourceNamesThePath) {
    std::filesystem::remove(workDir.path() / "Shader/blurShader.frag");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value()) << "program did not stop";
    EXPECT_EQ(*result.exitStatus, 1);
    EXPECT_EQ(result.standardOutput, "ERROR: Could not load file ./Shader/blurShader.frag\n");
}

TEST_F(StartupFailureTest, MissingPostProcessVertexSourceStopsAtTheFirstProgramThatNeedsIt) {
    std::filesystem::remove(workDir.path() / "Shader/postProcess.vert");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value());
    EXPECT_EQ(*result.exitStatus, 1);
    // Only one line: the blur program, which needs the same file, is never reached.
    EXPECT_EQ(result.standardOutput, "ERROR: Could not load file ./Shader/postProcess.vert\n");
}

TEST_F(StartupFailureTest, CompileErrorPrintsTheDriverLogOnly) {
    workDir.writeFile("Shader/shadowMap.vert",
                      "#version 330 core\nvoid main() { gl_Position = undeclaredThing; }\n");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value());
    EXPECT_EQ(*result.exitStatus, 1);
    EXPECT_NE(result.standardOutput.find("undeclaredThing"), std::string::npos)
        << result.standardOutput;
    EXPECT_EQ(result.standardOutput.find("ERROR: Could not load file"), std::string::npos);
    EXPECT_EQ(result.standardOutput.find("shadowMap.vert"), std::string::npos)
        << "the log is printed without the file name";
}

TEST_F(StartupFailureTest, LinkErrorPrintsTheProgramLog) {
    // Compiles on its own; the linker finds no body for the declared function.
    workDir.writeFile("Shader/postProcess.frag", "#version 330 core\n"
                                                 "out vec4 color;\n"
                                                 "vec4 neverDefined();\n"
                                                 "void main() { color = neverDefined(); }\n");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value());
    EXPECT_EQ(*result.exitStatus, 1);
    EXPECT_NE(result.standardOutput.find("neverDefined"), std::string::npos)
        << result.standardOutput;
}

TEST_F(StartupFailureTest, EmptySourceIsHandedToTheCompilerNotReportedAsMissing) {
    workDir.writeFile("Shader/standardShading.frag", "");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value());
    // Mesa refuses a shader without main(): compile or link decides, never the loader.
    EXPECT_EQ(*result.exitStatus, 1);
    EXPECT_EQ(result.standardOutput.find("ERROR: Could not load file"), std::string::npos);
    EXPECT_FALSE(result.standardOutput.empty());
}

TEST_F(StartupFailureTest, NoPromptWhenStandardInputIsNotATerminal) {
    std::filesystem::remove(workDir.path() / "Shader/shadowMap.frag");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value()) << "the program waited for Enter";
    EXPECT_EQ(result.standardOutput.find("Press Enter"), std::string::npos);
}

} // namespace
