// quiverfall-capture as a user runs it: its pictures are repeatable and its start view is the
// demo's.
#include "offscreen/OffscreenWindow.h"
#include "support/ImageCompare.h"
#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const std::string captureTool =
    (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/capture/quiverfall-capture").string();

// Two seconds of flight at a coarse step: enough to move the camera and flicker the fire.
const std::vector<std::string> shortFlight = {"--dt",    "0.5", "--at",       "1,2",
                                              "--until", "2",   "--no-sheet", "--quiet"};

ProgramRun capture(const fs::path& out, std::vector<std::string> arguments) {
    arguments.push_back("--out");
    arguments.push_back(out.string());
    Process tool(captureTool, arguments, QUIVERFALL_SOURCE_DIR);
    ProgramRun run;
    run.exitStatus = tool.waitForExit(300.0);
    run.standardOutput = tool.standardOutput();
    run.standardError = tool.standardError();
    return run;
}

TEST(CaptureToolTest, TwoRunsGiveIdenticalPictures) {
    ASSERT_TRUE(fs::exists(captureTool)) << captureTool;
    TempDirectory first, second;
    for (const fs::path& out : {first.path(), second.path()}) {
        const ProgramRun run = capture(out, shortFlight);
        ASSERT_EQ(run.exitStatus, std::optional<int>(0)) << run.standardError;
    }
    for (const char* name : {"frame_start.png", "frame_01.00.png", "frame_02.00.png"}) {
        const Picture a = loadPng((first.path() / name).string());
        const Picture b = loadPng((second.path() / name).string());
        ASSERT_FALSE(a.rgb.empty()) << name << " was not written";
        EXPECT_TRUE(a.rgb == b.rgb) << name << " differs between two runs";
    }
    // The flight moved the camera: the pictures are not all the same one.
    EXPECT_FALSE(loadPng((first.path() / "frame_01.00.png").string()).rgb ==
                 loadPng((first.path() / "frame_02.00.png").string()).rgb);
}

TEST(CaptureToolTest, StartViewMatchesTheReferencePicture) {
    TempDirectory out;
    const ProgramRun run = capture(out.path(), {"--start-only", "--quiet"});
    ASSERT_EQ(run.exitStatus, std::optional<int>(0)) << run.standardError;
    const Picture actual = loadPng((out.path() / "frame_start.png").string());
    const Picture reference =
        loadPng(std::string(QUIVERFALL_SOURCE_DIR) + "/tests/reference/start_view.png");
    const ImageDifference difference = compareImages(actual, reference);
    if (!withinReferenceThresholds(difference)) {
        ADD_FAILURE() << "captured start view differs: max " << difference.maxDifference
                      << ", mean " << difference.meanDifference << "; pictures in "
                      << writeFailureImages("capture_start_view", actual, reference);
    }
}

TEST(CaptureToolTest, HelpExplainsEveryOptionAndBadOptionsAreRefused) {
    Process help(captureTool, {"--help"}, QUIVERFALL_SOURCE_DIR);
    ASSERT_EQ(help.waitForExit(30.0), std::optional<int>(0));
    for (const char* option : {"--out", "--dt", "--at", "--start-only", "--until", "--limit",
                               "--no-sheet", "--quiet", "--help"}) {
        EXPECT_NE(help.standardOutput().find(option), std::string::npos) << option;
    }
    Process bad(captureTool, {"--dt", "-1"}, QUIVERFALL_SOURCE_DIR);
    EXPECT_EQ(bad.waitForExit(30.0), std::optional<int>(2));
    EXPECT_FALSE(bad.standardError().empty());
}

} // namespace
