// The Windows program as a Windows user gets it: dist/quiverfall-windows-x64.zip unpacked into an
// empty folder and quiverfall.exe started, here under Wine on the test X server
// (tests/windows/run.sh builds the zip and gives its path in QUIVERFALL_WINDOWS_ZIP).
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/ReadFile.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// What counts as black in a capture of the window: the clear colour, within a level of rounding.
constexpr int darkestBlack = 3;
// Wine's own start takes seconds, and a first start also makes its prefix (about 10 s).
constexpr double startSeconds = 90.0;
// 34.5 s of flight and about 7 s of volley at Wine's 30 ms frames, with room for slow ones.
constexpr double endingSeconds = 120.0;

class WindowsProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* zip = std::getenv("QUIVERFALL_WINDOWS_ZIP");
        ASSERT_NE(zip, nullptr) << "QUIVERFALL_WINDOWS_ZIP names the package to test";
        const std::string unzip =
            "unzip -q '" + std::string(zip) + "' -d '" + folder_.path().string() + "'";
        ASSERT_EQ(std::system(unzip.c_str()), 0) << unzip;
        // Beside the program, the keys, in a file Notepad shows with its line breaks.
        const std::string readme = readFile(folder_.path() / "README.txt");
        EXPECT_NE(readme.find("  Escape          quit\r\n"), std::string::npos) << readme;
    }

    // Started from `workingDirectory`, as from a shortcut whose start folder is elsewhere.
    void start(const std::filesystem::path& workingDirectory) {
        program_ = std::make_unique<Process>(
            "/usr/bin/wine", std::vector<std::string>{(folder_.path() / "quiverfall.exe").string()},
            workingDirectory);
    }

    TempDirectory folder_;
    TempDirectory elsewhere_;
    std::unique_ptr<Process> program_;
};

TEST_F(WindowsProgramTest, StartedElsewhereShowsTheStartViewPlaysTheFlightToBlackAndQuits) {
    start(elsewhere_.path());
    const unsigned long window = findProgramWindow(*program_, startSeconds);
    ASSERT_NE(window, 0UL) << program_->standardOutput() << program_->standardError();
    ASSERT_TRUE(waitUntilShown(window, startSeconds, darkestBlack)) << "the room never showed";
    expectPictureMatches(captureWindow(window), referencePicture("start_view"),
                         "windows_start_view");

    ASSERT_TRUE(sendKey(window, "c"));
    const WatchedRun watched = watchUntilBlack(window, endingSeconds, darkestBlack);
    std::printf("under Wine: flight to black %.1f s, frame time median %.3f s, worst %.3f s\n",
                watched.seconds, watched.medianFrameSeconds(), watched.worstFrameSeconds());
    EXPECT_TRUE(watched.black) << "no black ending";
    // A stall or a wrong frame time would cut to the ending at once.
    EXPECT_GT(watched.seconds, 30.0) << "black came before the flight could have ended";
    EXPECT_EQ(quitWithEscape(*program_, window), std::optional<int>(0));
    EXPECT_EQ(program_->standardOutput().find("GL ERROR DETECTED!!"), std::string::npos)
        << program_->standardOutput();
}

TEST_F(WindowsProgramTest, AMissingShaderSaysSoAndExitsWithStatusOneWithoutWaiting) {
    std::filesystem::remove(folder_.path() / "Shader" / "blurShader.frag");
    start(folder_.path());
    EXPECT_EQ(program_->waitForExit(startSeconds), std::optional<int>(1));
    EXPECT_NE(
        program_->standardOutput().find("ERROR: Could not load file ./Shader/blurShader.frag"),
        std::string::npos)
        << program_->standardOutput();
}

} // namespace
