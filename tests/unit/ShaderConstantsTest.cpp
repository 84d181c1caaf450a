// Constants that two shader stages keep by hand must agree, or the sunbeam's soft edge would be
// lit by one stage and not the other.
#include "support/ReadFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The value a shader source gives `name` in "const float name = value;", or "" if none.
std::string constantIn(const std::string& path, const std::string& name) {
    const std::string source = readFile(path);
    const std::string declaration = "const float " + name + " = ";
    const size_t start = source.find(declaration);
    if (start == std::string::npos) {
        return "";
    }
    const size_t value = start + declaration.size();
    const size_t end = source.find(';', value);
    return end == std::string::npos ? "" : source.substr(value, end - value);
}

TEST(ShaderConstantsTest, BothShadingStagesFadeTheLightsFrameOverTheSameEdge) {
    const std::string vertexEdge = constantIn("./Shader/standardShading.vert", "shadowFrameEdge");
    const std::string fragmentEdge = constantIn("./Shader/standardShading.frag", "shadowFrameEdge");
    ASSERT_FALSE(vertexEdge.empty()) << "standardShading.vert declares no shadowFrameEdge";
    ASSERT_FALSE(fragmentEdge.empty()) << "standardShading.frag declares no shadowFrameEdge";
    EXPECT_EQ(vertexEdge, fragmentEdge);
}

} // namespace
