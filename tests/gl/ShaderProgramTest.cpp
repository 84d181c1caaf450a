// Building shader programs: from files and from source texts, and every failure reported to the
// caller with the source it concerns and the line the program prints for it.
#include "render/ShaderProgram.h"
#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

const std::string vertexSource = "#version 330 core\n"
                                 "layout(location = 0) in vec3 position;\n"
                                 "void main() { gl_Position = vec4(position, 1.0); }\n";
const std::string fragmentSource = "#version 330 core\n"
                                   "out vec4 color;\n"
                                   "void main() { color = vec4(1.0); }\n";

TEST(ShaderProgramTest, BuildsTheDemosProgramsFromTheirFiles) {
    ShaderFailure failure;
    const auto program =
        ShaderProgram::fromFiles("./Shader/postProcess.vert", "./Shader/blurShader.frag", failure);
    ASSERT_NE(program, nullptr) << failure.message;
    EXPECT_TRUE(glIsProgram(program->programId()));
}

TEST(ShaderProgramTest, BuildsFromSourceTexts) {
    ShaderFailure failure;
    const auto program = ShaderProgram::fromSources({"plain.vert", vertexSource},
                                                    {"plain.frag", fragmentSource}, failure);
    ASSERT_NE(program, nullptr) << failure.message;
    GLint linked = 0;
    glGetProgramiv(program->programId(), GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST(ShaderProgramTest, AMissingFileIsNamedInTheSystemsLine) {
    ShaderFailure failure;
    const auto program = ShaderProgram::fromFiles("./Shader/postProcess.vert",
                                                  "./Shader/noSuchShader.frag", failure);
    EXPECT_EQ(program, nullptr);
    EXPECT_EQ(failure.source, "./Shader/noSuchShader.frag");
    EXPECT_EQ(failure.message, "ERROR: Could not load file ./Shader/noSuchShader.frag");
}

TEST(ShaderProgramTest, ADirectoryInPlaceOfAFileIsReportedAsUnloadable) {
    ShaderFailure failure;
    const auto program = ShaderProgram::fromFiles("./Shader/postProcess.vert", "./Shader", failure);
    EXPECT_EQ(program, nullptr);
    EXPECT_EQ(failure.message, "ERROR: Could not load file ./Shader");
}

TEST(ShaderProgramTest, ACompileErrorGivesTheDriversLogWithoutTheFileName) {
    TempDirectory directory;
    directory.writeFile("broken.vert",
                        "#version 330 core\nvoid main() { gl_Position = undeclaredThing; }\n");
    const std::string path = (directory.path() / "broken.vert").string();
    ShaderFailure failure;
    EXPECT_EQ(ShaderProgram::fromFiles(path, "./Shader/shadowMap.frag", failure), nullptr);
    EXPECT_EQ(failure.source, path);
    EXPECT_NE(failure.message.find("undeclaredThing"), std::string::npos) << failure.message;
    EXPECT_EQ(failure.message.find("broken.vert"), std::string::npos) << failure.message;
}

// The files are read one after the other, each just before it is compiled: a vertex shader that
// does not compile is what gets reported, even when the fragment file is missing too.
TEST(ShaderProgramTest, TheVertexShadersFailureComesBeforeAMissingFragmentFile) {
    TempDirectory directory;
    directory.writeFile("broken.vert", "#version 330 core\nvoid main() { undeclaredThing; }\n");
    ShaderFailure failure;
    EXPECT_EQ(ShaderProgram::fromFiles((directory.path() / "broken.vert").string(),
                                       (directory.path() / "missing.frag").string(), failure),
              nullptr);
    EXPECT_NE(failure.message.find("undeclaredThing"), std::string::npos) << failure.message;
}

TEST(ShaderProgramTest, ALinkErrorGivesTheProgramsLog) {
    // Compiles on its own; the linker finds no body for the declared function.
    const std::string unlinkable = "#version 330 core\n"
                                   "out vec4 color;\n"
                                   "vec4 neverDefined();\n"
                                   "void main() { color = neverDefined(); }\n";
    ShaderFailure failure;
    EXPECT_EQ(ShaderProgram::fromSources({"plain.vert", vertexSource},
                                         {"unlinkable.frag", unlinkable}, failure),
              nullptr);
    EXPECT_EQ(failure.source, "");
    EXPECT_NE(failure.message.find("neverDefined"), std::string::npos) << failure.message;
}

TEST(ShaderProgramTest, AnEmptySourceIsTheCompilersToRefuseNotAMissingFile) {
    TempDirectory directory;
    directory.writeFile("empty.frag", "");
    ShaderFailure failure;
    EXPECT_EQ(ShaderProgram::fromFiles("./Shader/postProcess.vert",
                                       (directory.path() / "empty.frag").string(), failure),
              nullptr);
    EXPECT_FALSE(failure.message.empty());
    EXPECT_EQ(failure.message.find("ERROR: Could not load file"), std::string::npos);
}

} // namespace
