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

// Every way building from files can fail, each file in a folder of its own: the source the
// failure names ("" for the link), and what its message must hold and must not.
TEST(ShaderProgramTest, EveryFailureNamesItsSourceAndWhatWentWrong) {
    TempDirectory folder;
    folder.writeFile("plain.vert", vertexSource);
    folder.writeFile("plain.frag", fragmentSource);
    folder.writeFile("broken.vert",
                     "#version 330 core\nvoid main() { gl_Position = undeclaredThing; }\n");
    folder.writeFile("empty.frag", "");
    // Compiles on its own; the linker finds no body for the declared function.
    folder.writeFile("unlinkable.frag", "#version 330 core\nout vec4 color;\n"
                                        "vec4 neverDefined();\n"
                                        "void main() { color = neverDefined(); }\n");
    const std::string dir = folder.path().string() + "/";
    const std::string loadLine = "ERROR: Could not load file ";
    const struct {
        const char* what;
        std::string vertex, fragment, source, holds, lacks;
    } rows[] = {
        {"a missing file", "plain.vert", "missing.frag", "missing.frag",
         loadLine + dir + "missing.frag", ""},
        {"a folder in place of a file", "plain.vert", ".", ".", loadLine + dir + ".", ""},
        // The driver's log alone: the program's line names no file.
        {"a compile error", "broken.vert", "plain.frag", "broken.vert", "undeclaredThing",
         "broken.vert"},
        // Each file is read just before it is compiled.
        {"a compile error before a missing file", "broken.vert", "missing.frag", "broken.vert",
         "undeclaredThing", loadLine},
        {"a link error", "plain.vert", "unlinkable.frag", "", "neverDefined", loadLine},
        // The compiler's to refuse: the file is there.
        {"an empty source", "plain.vert", "empty.frag", "empty.frag", "", loadLine},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ShaderFailure failure;
        EXPECT_EQ(ShaderProgram::fromFiles(dir + row.vertex, dir + row.fragment, failure), nullptr);
        EXPECT_EQ(failure.source, row.source.empty() ? "" : dir + row.source);
        EXPECT_FALSE(failure.message.empty());
        EXPECT_NE(failure.message.find(row.holds), std::string::npos) << failure.message;
        if (!row.lacks.empty()) {
            EXPECT_EQ(failure.message.find(row.lacks), std::string::npos) << failure.message;
        }
    }
}

} // namespace
