// The GL checks a developer can switch on: a deliberately wrong call is reported at once, with the
// call stack that made it.
#include "render/GlDebugReport.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// Kept out of line and with external linkage, so its name stands in the reported stack (the test
// binary exports its symbols for that).
__attribute__((noinline)) void bindATextureNameNobodyMade() {
    // Core profile: binding a name glGenTextures never returned is an invalid operation.
    glBindTexture(GL_TEXTURE_2D, 987654321u);
    // Work after the call keeps the compiler from turning it into a jump, which would leave
    // this function's frame off the stack.
    asm volatile("" ::: "memory");
}

namespace {

std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
        text += buffer;
    }
    return text;
}

TEST(GlDebugReportTest, AWrongCallIsReportedWithTheCallerOnTheStack) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ASSERT_TRUE(installGlDebugReport(out)) << "this context offers no debug output";
    bindATextureNameNobodyMade();
    removeGlDebugReport();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));

    const std::string report = contents(out);
    std::fclose(out);
    EXPECT_NE(report.find("GL error"), std::string::npos) << report;
    EXPECT_NE(report.find("bindATextureNameNobodyMade"), std::string::npos)
        << "the report does not say where the call was made:\n"
        << report;
}

TEST(GlDebugReportTest, NothingIsReportedOnceRemoved) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ASSERT_TRUE(installGlDebugReport(out));
    removeGlDebugReport();
    bindATextureNameNobodyMade();
    glGetError();
    EXPECT_EQ(contents(out), "");
    std::fclose(out);
}

} // namespace
