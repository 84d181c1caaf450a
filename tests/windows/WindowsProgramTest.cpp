// The Windows program as a Windows user gets it: dist/quiverfall-windows-x64.zip unpacked into an
// empty folder and quiverfall.exe started, here under Wine on the test X server
// (tests/windows/run.sh builds the zip and gives its path in QUIVERFALL_WINDOWS_ZIP).
#include "support/Eventually.h"
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/ReadFile.h"
#include "support/SavedPictureName.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

// What counts as black in a capture of the window: the clear colour, within a level of rounding.
constexpr int darkestBlack = 3;
// Wine's own start takes seconds, and a first start also makes its prefix (about 10 s).
constexpr double startSeconds = 90.0;
// 34.5 s of flight and about 7 s of volley at Wine's 30 ms frames, with room for slow ones.
constexpr double endingSeconds = 120.0;
// The X screen of tests/windows/run.sh, which full screen fills, and the window's own size.
constexpr int screenWidth = 2400;
constexpr int screenHeight = 1350;
constexpr int windowWidth = 1600;
constexpr int windowHeight = 900;
// Wine's frames take 30 ms on an idle machine and up to 2.1 s on one loaded many times over
// (measured with this suite beside a mutation run), so the checks on what a key did wait for it
// rather than a fixed time: at most this long, for a few frames at the slowest.
constexpr double commandSeconds = 20.0;
// That slowest frame, with some room.
constexpr auto slowestFrame = std::chrono::milliseconds(2500);
// Paused, the picture stays the same for longer than the slowest frame; flying, it never does.
constexpr auto stillFor = 2 * slowestFrame;
// The saved picture and the window show the same paused frame, which the present step copies
// pixel for pixel at this window size: only a level of rounding may differ.
constexpr PictureLimits samePicture{1, 0.01, 0.1};

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

TEST_F(WindowsProgramTest,
       StartedElsewhereShowsTheStartViewGoesFullScreenPausesSavesPlaysToBlackAndQuits) {
    // F12 writes into the start folder, here one whose name no single code page holds.
    const std::filesystem::path startFolder = elsewhere_.path() / "Start \u00fc \u65e5\u672c";
    std::filesystem::create_directory(startFolder);
    start(startFolder);
    const unsigned long window = findProgramWindow(*program_, startSeconds);
    ASSERT_NE(window, 0UL) << program_->standardOutput() << program_->standardError();
    ASSERT_TRUE(waitUntilShown(window, startSeconds, darkestBlack)) << "the room never showed";
    expectPictureMatches(captureWindow(window), referencePicture("start_view"),
                         "windows_start_view");

    // F11: the whole screen, the picture scaled up to fill it, so the part beyond the window's
    // old size shows the room. F11 again: the window and its picture as they were.
    ASSERT_TRUE(sendKey(window, "F11"));
    ASSERT_TRUE(waitForWindowSize(window, screenWidth, screenHeight, commandSeconds));
    // The size changes within the frame that read F11, and what shows before the next frame is
    // undefined; that next frame also reads F11's release, without which a second F11 is lost.
    std::this_thread::sleep_for(slowestFrame);
    EXPECT_TRUE(eventually(commandSeconds, [window] {
        return !isBlack(captureWindowRegion(window, windowWidth, windowHeight,
                                            screenWidth - windowWidth, screenHeight - windowHeight),
                        darkestBlack);
    })) << "the picture does not fill the screen";
    ASSERT_TRUE(sendKey(window, "F11"));
    ASSERT_TRUE(waitForWindowSize(window, windowWidth, windowHeight, commandSeconds));
    Picture shown;
    eventually(commandSeconds, [&] {
        shown = captureWindow(window);
        return withinReferenceThresholds(compareImages(shown, referencePicture("start_view")));
    });
    expectPictureMatches(shown, referencePicture("start_view"),
                         "windows_start_view_after_full_screen");

    // P a moment into the flight: the picture holds still; F12 saves that picture.
    ASSERT_TRUE(sendKey(window, "c"));
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_TRUE(sendKey(window, "p"));
    Picture paused;
    auto pausedSince = std::chrono::steady_clock::now();
    EXPECT_TRUE(eventually(commandSeconds, [&] {
        Picture now = captureWindow(window);
        if (now.rgb != paused.rgb) {
            paused = std::move(now);
            pausedSince = std::chrono::steady_clock::now();
        }
        return std::chrono::steady_clock::now() - pausedSince > stillFor;
    })) << "the flight went on while paused";
    ASSERT_TRUE(sendKey(window, "F12"));
    ASSERT_TRUE(eventually(commandSeconds, [this] {
        return program_->standardOutput().find("Saved the picture as ") != std::string::npos;
    })) << program_->standardOutput();
    const std::vector<std::filesystem::path> saved{std::filesystem::directory_iterator(startFolder),
                                                   {}};
    ASSERT_EQ(saved.size(), 1U);
    const std::string name = saved[0].filename().string();
    EXPECT_TRUE(isSavedPictureName(name)) << name;
    EXPECT_NE(program_->standardOutput().find(name), std::string::npos);
    expectPictureMatches(loadPng(saved[0].string()), paused, "windows_saved_picture", samePicture);

    ASSERT_TRUE(sendKey(window, "p"));
    EXPECT_TRUE(eventually(commandSeconds, [&] { return captureWindow(window).rgb != paused.rgb; }))
        << "the flight did not go on after P";
    const WatchedRun watched = watchUntilBlack(window, endingSeconds, darkestBlack);
    std::printf("under Wine: flight to black %.1f s, frame time median %.3f s, worst %.3f s\n",
                watched.seconds, watched.medianFrameSeconds(), watched.worstFrameSeconds());
    EXPECT_TRUE(watched.black) << "no black ending";
    // A stall or a wrong frame time would cut to the ending at once; the pause came about 2 s
    // into the flight's 34.5 s, so over 30 s are left.
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
