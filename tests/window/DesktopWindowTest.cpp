// The real program on a desktop as people own them: a window resized to any shape shows the
// whole picture scaled to fit, and a program left alone runs no faster than the display shows.
// A library preloaded around the buffer swap counts the frames and, where asked, makes the back
// buffer garbage after every swap, as many GPU desktops do.
#include "support/Eventually.h"
#include "support/ImageCompare.h"
#include "support/PictureScaling.h"
#include "support/Process.h"
#include "support/ResizedWindows.h"
#include "support/SavedPictureName.h"
#include "support/X11Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Set-up (shader compiles, model loads) on software GL takes a few seconds.
constexpr double windowTimeoutSeconds = 60.0;
// A resize takes effect within a frame or two; this allows for a machine busy with other tests.
constexpr double resizeTimeoutSeconds = 10.0;
// The window before the first frame: X's black background.
constexpr int darkestBlack = 3;

class DesktopWindowTest : public ::testing::Test {
  protected:
    // The program started from its build folder, as people do after a build (it finds the data
    // above it), or from `folder`, with the swap spy's `settings`, once the room is on screen.
    void start(std::vector<std::string> settings, const std::filesystem::path& folder = {}) {
        ProcessOptions options;
        options.environment = std::move(settings);
        options.environment.push_back(std::string("LD_PRELOAD=") + QUIVERFALL_SWAP_SPY);
        program = std::make_unique<Process>(QUIVERFALL_EXECUTABLE, std::vector<std::string>{},
                                            folder.empty() ? buildFolder : folder, options);
        window = findProgramWindow(*program, windowTimeoutSeconds);
        ASSERT_NE(window, 0UL) << program->standardOutput();
        ASSERT_TRUE(waitUntilShown(window, 30.0, darkestBlack)) << "the room is not on screen";
    }

    void TearDown() override {
        if (program == nullptr || window == 0) {
            return;
        }
        EXPECT_EQ(quitWithEscape(*program, window), std::optional<int>(0));
        EXPECT_EQ(program->standardOutput(), "") << "the program said more than nothing";
    }

    TempDirectory workDir; // the tests' own files
    const std::filesystem::path buildFolder =
        std::filesystem::path(QUIVERFALL_EXECUTABLE).parent_path();
    std::unique_ptr<Process> program;
    unsigned long window = 0;
};

TEST_F(DesktopWindowTest, AResizedWindowShowsTheStartViewScaledToFitOnGarbageBackBuffers) {
    ASSERT_NO_FATAL_FAILURE(start({"QUIVERFALL_TEST_GARBAGE_AFTER_SWAP=1"}));
    const Picture reference = referencePicture("start_view");
    ASSERT_EQ(reference.width, 1600);
    for (const ResizedWindow& resized : resizedWindows) {
        SCOPED_TRACE(resized.name);
        ASSERT_TRUE(resizeWindow(window, resized.window.width, resized.window.height));
        const Picture expected = letterboxed(reference, resized.picture, resized.window);
        // The idle program presents its one picture again every frame: once the new size has
        // taken effect, every capture must show it scaled.
        Picture shown;
        eventually(resizeTimeoutSeconds, [&] {
            shown = captureWindow(window);
            return withinReferenceThresholds(compareImages(shown, expected));
        });
        expectPictureMatches(shown, expected, std::string("program_") + resized.name);
    }
}

// The test's X screen is the size and shape of the largest resized window, so full screen shows
// the picture as that window does; F11 again gives back the 1600x900 window.
TEST_F(DesktopWindowTest, F11FillsTheScreenWithThePictureAndGivesTheWindowBack) {
    ASSERT_NO_FATAL_FAILURE(start({}));
    const Picture reference = referencePicture("start_view");
    const ResizedWindow& screen = resizedWindows[0];
    const Picture fullScreen = letterboxed(reference, screen.picture, screen.window);
    for (const Picture* expected : {&fullScreen, &reference}) {
        ASSERT_TRUE(sendKey(window, "F11"));
        Picture shown;
        eventually(resizeTimeoutSeconds, [&] {
            shown = captureWindow(window);
            return withinReferenceThresholds(compareImages(shown, *expected));
        });
        expectPictureMatches(shown, *expected,
                             expected == &fullScreen ? "full_screen" : "window_again");
    }
}

// The output's first line that starts with `start`, waiting up to 30 s for it; empty if none.
std::string waitForLine(const Process& program, const std::string& start) {
    std::string found;
    eventually(30.0, [&] {
        std::istringstream lines(program.standardOutput());
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(start, 0) == 0) {
                found = line;
                return true;
            }
        }
        return false;
    });
    return found;
}

// Started from a folder without the data, which the program finds above its build folder: the
// picture goes where the user started it.
TEST_F(DesktopWindowTest, F12SavesThePictureWhereItStartedAndAFolderGoneIsOnlySaid) {
    ASSERT_NO_FATAL_FAILURE(start({}, workDir.path()));
    ASSERT_TRUE(sendKey(window, "F12"));
    const std::string saved = waitForLine(*program, "Saved the picture as ");
    const std::filesystem::path file = saved.substr(saved.find(" as ") + 4);
    EXPECT_EQ(file.parent_path(), workDir.path()) << saved;
    EXPECT_TRUE(isSavedPictureName(file.filename().string())) << saved;
    // The window shows the picture 1:1, so the file holds what is on screen.
    expectPictureMatches(loadPng(file.string()), captureWindow(window), "saved_picture");

    std::filesystem::remove_all(workDir.path());
    ASSERT_TRUE(sendKey(window, "F12"));
    EXPECT_NE(waitForLine(*program, "Could not save the picture as "), "")
        << program->standardOutput();
    EXPECT_EQ(quitWithEscape(*program, window), std::optional<int>(0)) << "the demo did not go on";
    window = 0; // it said what it should
}

TEST_F(DesktopWindowTest, LeftAloneTheProgramRunsAtMostSixtyFiveFramesASecond) {
    const std::string countFile = (workDir.path() / "swaps").string();
    ASSERT_NO_FATAL_FAILURE(start({"QUIVERFALL_TEST_SWAP_COUNT=" + countFile}));
    auto swaps = [&countFile] {
        std::ifstream file(countFile);
        long count = 0;
        file >> count;
        return count;
    };
    // Processor time from /proc, in clock ticks: user, then system.
    auto processorTicks = [this] {
        std::ifstream file("/proc/" + std::to_string(program->pid()) + "/stat");
        std::string line;
        std::getline(file, line);
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        long user = 0;
        long system = 0;
        for (int index = 3; index <= 15 && fields >> field; ++index) {
            if (index == 14) {
                user = std::stol(field);
            } else if (index == 15) {
                system = std::stol(field);
            }
        }
        return user + system;
    };

    // In a small window an idle frame costs next to nothing (the last picture scaled into a few
    // pixels), so a loop left unpaced would run at hundreds of frames a second even on a machine
    // busy with other tests.
    ASSERT_TRUE(resizeWindow(window, 160, 90));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long swapsBefore = swaps();
    const long ticksBefore = processorTicks();
    const Clock::time_point before = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const double seconds = std::chrono::duration<double>(Clock::now() - before).count();
    const double framesPerSecond = static_cast<double>(swaps() - swapsBefore) / seconds;
    const double coresBusy = static_cast<double>(processorTicks() - ticksBefore) /
                             static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
    std::printf("idle for %.1f s: %.1f frames a second, %.2f of a core\n", seconds, framesPerSecond,
                coresBusy);
    EXPECT_LE(framesPerSecond, 65.0) << "the idle loop is not paced to a 60 Hz display";
    // Paced, not stopped: left alone, the program keeps running and presenting its window.
    EXPECT_TRUE(program->running());
    EXPECT_GE(framesPerSecond, 10.0);
}

} // namespace
