// The browser build compiles the same shader files as GLSL ES 3.00. Their conversion is checked
// here, on the desktop, with Khronos' reference compiler: a shader change that only the browser
// would refuse fails before anyone opens a page.
#include "render/ShaderDialect.h"
#include "support/ReadFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const char* const shaderFiles[] = {
    "standardShading.vert", "standardShading.frag", "shadowMap.vert", "shadowMap.frag",
    "postProcess.vert",     "postProcess.frag",     "blurShader.frag"};

TEST(ShaderDialectTest, TheVersionLineBecomesGlslEsWithPrecisions) {
    const ShaderText es = toGlslEs("#version 330 core\n// blur\nvoid main() {}\n");
    EXPECT_EQ(es.text, "#version 300 es\nprecision highp float;\nprecision highp int;\n"
                       "precision highp sampler2DShadow;\n// blur\nvoid main() {}\n");
    EXPECT_TRUE(es.identityUniforms.empty());
}

TEST(ShaderDialectTest, AnIdentityInitialiserIsTakenOutAndNamed) {
    const ShaderText es =
        toGlslEs("#version 330 core\nuniform mat4 M;\nuniform mat4 normalMatrix = mat4(1.0);\n");
    EXPECT_NE(es.text.find("uniform mat4 normalMatrix;\n"), std::string::npos) << es.text;
    EXPECT_EQ(es.text.find("= mat4"), std::string::npos) << es.text;
    EXPECT_EQ(es.identityUniforms, std::vector<std::string>{"normalMatrix"});
}

// A version line inside a comment above the real one is no directive, and a browser takes only a
// first line that gives the version; #extension lines must come ahead of the precisions.
const std::string commentedSource = "// was: #version 330 core\n"
                                    "/* #version 330 core */\n"
                                    "#version 330 core\n"
                                    "#extension all : warn\n"
                                    "// two stages share this\n"
                                    "#extension all : disable\n"
                                    "out vec4 colour;\n"
                                    "void main() { colour = vec4(1.0); }\n";

TEST(ShaderDialectTest, CommentsAndExtensionLinesAboveTheCodeKeepTheirPlaces) {
    EXPECT_EQ(toGlslEs(commentedSource).text, "#version 300 es\n"
                                              "// was: #version 330 core\n"
                                              "/* #version 330 core */\n"
                                              "#extension all : warn\n"
                                              "// two stages share this\n"
                                              "#extension all : disable\n"
                                              "precision highp float;\n"
                                              "precision highp int;\n"
                                              "precision highp sampler2DShadow;\n"
                                              "out vec4 colour;\n"
                                              "void main() { colour = vec4(1.0); }\n");
}

TEST(ShaderDialectTest, EveryShaderOfTheDemoCompilesAsGlslEs) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quiverfall-es-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // glslangValidator tells the stage by the file's ending, as the demo's files are named.
    auto expectValidGlslEs = [&folder](const std::string& file, const std::string& source) {
        const std::filesystem::path converted = folder / file;
        std::ofstream(converted) << toGlslEs(source).text;
        const std::string command =
            "glslangValidator " + converted.string() + " >" + (folder / "log").string() + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << file << " is no valid GLSL ES 3.00:\n"
                                                   << readFile(folder / "log");
    };
    for (const char* file : shaderFiles) {
        const std::string source =
            readFile(std::filesystem::path(QUIVERFALL_SOURCE_DIR) / "Shader" / file);
        ASSERT_FALSE(source.empty()) << file;
        expectValidGlslEs(file, source);
    }
    expectValidGlslEs("commented.frag", commentedSource);
    std::filesystem::remove_all(folder);
}

} // namespace
