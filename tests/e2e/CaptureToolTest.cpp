// quiverfall-capture as a user runs it: its pictures are repeatable and its start view is the
// demo's.
#include "offscreen/OffscreenWindow.h"
#include "support/ImageCompare.h"
#include "support/PictureScaling.h"
#include "support/Process.h"
#include "support/ReadFile.h"
#include "support/VideoProbe.h"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;

const std::string captureTool =
    (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/capture/quiverfall-capture").string();

// Two seconds of flight at a coarse step: enough to move the camera and flicker the fire.
const std::vector<std::string> shortFlight = {"--dt",    "0.5", "--at",       "1,2",
                                              "--until", "2",   "--no-sheet", "--quiet"};

ProgramRun capture(const fs::path& out, std::vector<std::string> arguments,
                   const ProcessOptions& processOptions = {},
                   const fs::path& startedIn = QUIVERFALL_SOURCE_DIR) {
    arguments.push_back("--out");
    arguments.push_back(out.string());
    Process tool(captureTool, arguments, startedIn, processOptions);
    ProgramRun run;
    run.exitStatus = tool.waitForExit(300.0);
    run.standardOutput = tool.standardOutput();
    run.standardError = tool.standardError();
    return run;
}

TEST(CaptureToolTest, TwoRunsGiveIdenticalPicturesStartingWithTheStartView) {
    ASSERT_TRUE(fs::exists(captureTool)) << captureTool;
    TempDirectory first, second;
    // The second run starts in its output folder, away from the data: the tool finds the data
    // above itself, and "--out ." still means the folder it was started in.
    for (const ProgramRun& run :
         {capture(first.path(), shortFlight), capture(".", shortFlight, {}, second.path())}) {
        ASSERT_EQ(run.exitStatus, std::optional<int>(0)) << run.standardError;
    }
    for (const char* name : {"frame_start.png", "frame_01.00.png", "frame_02.00.png"}) {
        const Picture a = loadPng((first.path() / name).string());
        const Picture b = loadPng((second.path() / name).string());
        ASSERT_FALSE(a.rgb.empty()) << name << " was not written";
        EXPECT_TRUE(a.rgb == b.rgb) << name << " differs between two runs";
    }
    expectPictureMatches(loadPng((first.path() / "frame_start.png").string()),
                         referencePicture("start_view"), "capture_start_view");
    // The flight moved the camera: the pictures are not all the same one.
    EXPECT_FALSE(loadPng((first.path() / "frame_01.00.png").string()).rgb ==
                 loadPng((first.path() / "frame_02.00.png").string()).rgb);
}

TEST(CaptureToolTest, HelpExplainsEveryOption) {
    Process help(captureTool, {"--help"}, QUIVERFALL_SOURCE_DIR);
    ASSERT_EQ(help.waitForExit(30.0), std::optional<int>(0));
    for (const char* option : {"--out", "--fps", "--dt", "--lead-in", "--at", "--start-only",
                               "--until", "--limit", "--no-sheet", "--video", "--video-size",
                               "--video-from", "--video-to", "--quiet", "--help"}) {
        EXPECT_NE(help.standardOutput().find(option), std::string::npos) << option;
    }
}

// Each failure, found before a window is made: the status, and a last line that says what failed.
TEST(CaptureToolTest, FailuresEndWithAStatusAndALineNamingWhatFailed) {
    TempDirectory files;
    files.writeFile("file", "");
    const std::string underAFile = (files.path() / "file" / "out").string();
    expectFailures(
        captureTool,
        {
            // A step that float seconds stop adding at 2 s, and a run that would never end.
            {{"--dt", "1e-7"}, 2, "--dt needs a number of seconds from 0.001 to 1, not \"1e-7\""},
            {{"--fps", "abc"}, 2, "--fps needs a whole number from 1 to 240, not \"abc\""},
            {{"--at", "40"},
             2,
             "--at needs times from 0 to 36.71 s (a second after the volley ends), not 40"},
            {{"--until", "2", "--at", "5"},
             2,
             "--at needs times from 0 to 2 s (where --until stops the run), not 5"},
            {{"--start-only", "--out", underAFile},
             1,
             "the folder " + underAFile + " was not made: Not a directory"},
        },
        QUIVERFALL_SOURCE_DIR);
}

// A short clip of the flight, scaled down, as the README's preview is made: only the part asked
// for, at the size asked for.
TEST(CaptureToolTest, AClipOfTheRunScaledDownAsALoopingGif) {
    TempDirectory out;
    const std::string clip = (out.path() / "clip.gif").string();
    // Frames every 0.25 s of flight; from 0.25 to 1 s inclusive is 4 of them.
    const ProgramRun run =
        capture(out.path(), {"--fps", "4", "--lead-in", "0.5", "--until", "1", "--at", "0,1",
                             "--video", clip, "--video-size", "800x450", "--video-from", "0.25",
                             "--video-to", "1", "--no-sheet", "--quiet"});
    ASSERT_EQ(run.exitStatus, std::optional<int>(0)) << run.standardError;
    // The still at 0 s is the flight's first frame, not the start view the lead-in showed.
    EXPECT_FALSE(loadPng((out.path() / "frame_00.00.png").string()).rgb ==
                 loadPng((out.path() / "frame_start.png").string()).rgb);
    const VideoProbe probe = probeVideo(clip);
    ASSERT_TRUE(probe.readable) << clip;
    EXPECT_EQ(probe.codec, "gif");
    EXPECT_EQ(probe.width, 800);
    EXPECT_EQ(probe.height, 450);
    EXPECT_EQ(probe.frames, 4);
    // The clip's last frame is the flight at 1 s, the still saved there, reduced by half.
    const Picture last = decodeVideoFrame(clip, 3);
    const Picture still = loadPng((out.path() / "frame_01.00.png").string());
    const Picture halved = letterboxed(still, {0, 0, 800, 450}, {800, 450});
    const ImageDifference difference = compareImages(last, halved);
    ASSERT_TRUE(difference.sameSize) << last.width << "x" << last.height;
    // A GIF's 256 colours and dither leave every pixel a few levels off.
    EXPECT_LT(difference.meanDifference, 8.0);
}

// The README's preview is an animated WebP: one that loops, at the size asked for, a frame for each
// of the clip's. Read from the file's chunks, as Debian's ffmpeg decodes no animated WebP.
TEST(CaptureToolTest, AClipAsALoopingAnimatedWebp) {
    TempDirectory out;
    const std::string clip = (out.path() / "clip.webp").string();
    const ProgramRun run =
        capture(out.path(), {"--fps", "4", "--lead-in", "0.5", "--until", "0.75", "--at", "0.5",
                             "--video", clip, "--video-size", "320x180", "--video-from", "0.25",
                             "--video-to", "0.75", "--no-sheet", "--quiet"});
    ASSERT_EQ(run.exitStatus, std::optional<int>(0)) << run.standardError;
    const std::string file = readFile(clip);
    ASSERT_GT(file.size(), 30u);
    ASSERT_EQ(file.substr(0, 4) + file.substr(8, 4), "RIFFWEBP");
    const auto number = [&](size_t at, int bytes) {
        unsigned value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value * 256 + static_cast<unsigned char>(file[at + i]);
        }
        return value;
    };
    std::map<std::string, std::vector<size_t>> chunks; // each chunk's payload offsets
    for (size_t at = 12; at + 8 <= file.size(); at += 8 + ((number(at + 4, 4) + 1) & ~1u)) {
        chunks[file.substr(at, 4)].push_back(at + 8);
    }
    ASSERT_EQ(chunks["VP8X"].size(), 1u);
    const size_t header = chunks["VP8X"][0];
    EXPECT_NE(number(header, 1) & 0x02, 0u) << "not flagged as an animation";
    EXPECT_EQ(number(header + 4, 3) + 1, 320u);
    EXPECT_EQ(number(header + 7, 3) + 1, 180u);
    ASSERT_EQ(chunks["ANIM"].size(), 1u);
    EXPECT_EQ(number(chunks["ANIM"][0] + 4, 2), 0u) << "plays a fixed number of times";
    // Frames at 0.25, 0.5 and 0.75 s of the flight.
    EXPECT_EQ(chunks["ANMF"].size(), 3u);
}

// Without ffmpeg the stills and the contact sheet are still written, and the message says
// which package brings it.
TEST(CaptureToolTest, AMissingEncoderIsNamedAndTheStillsAreStillWritten) {
    TempDirectory out;
    TempDirectory emptySearchPath;
    const std::string video = (out.path() / "run.mp4").string();
    const ProgramRun run = capture(
        out.path(), {"--fps", "4", "--until", "0.5", "--at", "0.5", "--video", video, "--quiet"},
        {{"PATH=" + emptySearchPath.path().string()}});
    EXPECT_EQ(run.exitStatus, std::optional<int>(1)) << "a video asked for and not made";
    EXPECT_NE(run.standardError.find("ffmpeg was not found"), std::string::npos)
        << run.standardError;
    EXPECT_NE(run.standardError.find("apt-get install ffmpeg"), std::string::npos)
        << run.standardError;
    EXPECT_FALSE(fs::exists(video));
    for (const char* name : {"frame_start.png", "frame_00.50.png", "contact_sheet.png"}) {
        EXPECT_FALSE(loadPng((out.path() / name).string()).rgb.empty()) << name;
    }
}

// A video that cannot be finished is a failure, never a file that looks like a video.
TEST(CaptureToolTest, AVideoThatCannotBeFinishedFailsAndLeavesNoFile) {
    {
        SCOPED_TRACE("an encoder that stops at once");
        TempDirectory out;
        TempDirectory searchPath;
        searchPath.writeFile("ffmpeg",
                             "#!/bin/sh\necho 'this encoder takes nothing' >&2\nexit 1\n");
        fs::permissions(searchPath.path() / "ffmpeg", fs::perms::owner_all);
        const std::string video = (out.path() / "run.mp4").string();
        const ProgramRun run =
            capture(out.path(), {"--fps", "4", "--until", "1", "--video", video, "--quiet"},
                    {{"PATH=" + searchPath.path().string()}});
        EXPECT_EQ(run.exitStatus, std::optional<int>(1)) << "not ended by SIGPIPE";
        EXPECT_NE(run.standardError.find("ffmpeg stopped taking frames"), std::string::npos)
            << run.standardError;
        EXPECT_FALSE(fs::exists(video));
    }
    {
        SCOPED_TRACE("a clip of a part the run never reaches");
        TempDirectory out;
        const std::string clip = (out.path() / "clip.gif").string();
        const ProgramRun run = capture(out.path(), {"--fps", "4", "--until", "0.5", "--video", clip,
                                                    "--video-from", "5", "--no-sheet", "--quiet"});
        EXPECT_EQ(run.exitStatus, std::optional<int>(1));
        EXPECT_NE(run.standardError.find("no frame of the run"), std::string::npos)
            << run.standardError;
        EXPECT_FALSE(fs::exists(clip));
    }
}

} // namespace
