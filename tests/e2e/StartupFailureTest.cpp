// The program stops with status 1 and the system's own line when a shader source is unusable,
// without a prompt when no terminal is on standard input. How each kind of shader failure is
// reported is checked in-process by the GL tests of ShaderProgram.
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

// A directory where a source file should be: the same line, not a crash from the read.
TEST_F(StartupFailureTest, ADirectoryInPlaceOfAShaderSourceIsReportedLikeAMissingFile) {
    std::filesystem::remove(workDir.path() / "Shader/shadowMap.frag");
    std::filesystem::create_directory(workDir.path() / "Shader/shadowMap.frag");
    const ProgramRun result = run();
    ASSERT_TRUE(result.exitStatus.has_value()) << "program did not stop";
    EXPECT_EQ(*result.exitStatus, 1) << result.standardError;
    EXPECT_EQ(result.standardOutput, "ERROR: Could not load file ./Shader/shadowMap.frag\n");
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

} // namespace
