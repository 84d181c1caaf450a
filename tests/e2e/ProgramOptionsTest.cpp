// The program's command line is answered before any window opens: these runs get no display,
// where a window would end the program with "failed to init glfw" and status 1.
#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

struct Answer {
    std::optional<int> status;
    std::string output;
    std::string errors;
};

Answer runWith(const std::string& argument) {
    const TempDirectory folder;
    ProcessOptions noDisplay;
    noDisplay.environment = {"DISPLAY=", "WAYLAND_DISPLAY="};
    Process program(QUIVERFALL_EXECUTABLE, {argument}, folder.path(), noDisplay);
    const std::optional<int> status = program.waitForExit(30.0);
    return {status, program.standardOutput(), program.standardError()};
}

TEST(ProgramOptionsTest, HelpAndVersionAnswerAndAnUnknownOptionIsRefusedWithoutAWindow) {
    const Answer help = runWith("--help");
    EXPECT_EQ(help.status, std::optional<int>(0)) << help.output << help.errors;
    EXPECT_EQ(help.output.rfind("Usage: quiverfall [--fullscreen]\n", 0), 0U) << help.output;
    for (const char* mention : {"F11", "F12", "Shader/ and Models/", "--version"}) {
        EXPECT_NE(help.output.find(mention), std::string::npos) << mention;
    }

    const Answer version = runWith("--version");
    EXPECT_EQ(version.status, std::optional<int>(0)) << version.errors;
    EXPECT_EQ(version.output.rfind("Quiverfall ", 0), 0U) << version.output;

    const Answer refused = runWith("--fulscreen");
    EXPECT_EQ(refused.status, std::optional<int>(2)) << refused.output << refused.errors;
    EXPECT_EQ(refused.output, "");
    EXPECT_EQ(refused.errors, "quiverfall: unknown option --fulscreen\n\n" + help.output);
}

} // namespace
