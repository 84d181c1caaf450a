// quiverfall-bench runs a short configuration to the end and its last line is the JSON a script
// can read. How fast anything is does not matter here.
#include "FlatJson.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Set-up plus two redraw rounds of a 20-pass blur and two reference chains on software GL take
// seconds; the margin is for a CPU shared with other builds.
constexpr double benchTimeoutSeconds = 300.0;

fs::path benchExecutable() {
    return fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/bench/quiverfall-bench";
}

TEST(BenchOptionsTest, HelpExplainsEveryOption) {
    ASSERT_TRUE(fs::exists(benchExecutable())) << benchExecutable() << " is missing";
    Process help(benchExecutable().string(), {"--help"}, QUIVERFALL_SOURCE_DIR);
    const std::optional<int> status = help.waitForExit(30.0);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    for (const char* option :
         {"--frames", "--idle-frames", "--warmup", "--json", "--compare", "--help"}) {
        EXPECT_NE(help.standardOutput().find(option), std::string::npos) << option;
    }
}

// Each failure, found before a window is made: the status, and a last line that says what failed.
TEST(BenchOptionsTest, FailuresEndWithAStatusAndALineNamingWhatFailed) {
    TempDirectory files;
    files.writeFile("notes.txt", "not figures\n");
    const std::string notes = (files.path() / "notes.txt").string();
    const std::string unwritable = (files.path() / "no-folder" / "run.json").string();
    expectFailures(
        benchExecutable().string(),
        {
            {{"--no-such-option"},
             2,
             "unknown or incomplete option: --no-such-option (see --help)"},
            {{"--frames", "abc"}, 2, "--frames needs a whole number from 1 to 150, not \"abc\""},
            {{"--idle-frames", "0"},
             2,
             "--idle-frames needs a whole number from 1 to 10000, not \"0\""},
            {{"--warmup", "1.5"}, 2, "--warmup needs a whole number from 0 to 149, not \"1.5\""},
            {{"--json", unwritable},
             1,
             "quiverfall-bench: cannot write " + unwritable + ": No such file or directory"},
            {{"--compare", notes},
             1,
             "quiverfall-bench: cannot compare: " + notes + " is not a --json file of the bench"},
        },
        QUIVERFALL_SOURCE_DIR);
}

// Figures the bench must report above zero; the words of a string, so the list reads as a table.
const char* const positiveFigures =
    "frames idle_frames clear_ms_median fire_shadow_ms_median main_shadow_ms_median "
    "arrow_ms_median room_ms_median blur_ms_median composite_ms_median "
    "present_picture_ms_median copy_floor_ms_median tutorial_bloom_ms_median redraw_ms_median "
    "idle_ms_median swap_ms_median blur_gl_ms_median copy_floor_gl_ms_median "
    "tutorial_bloom_gl_ms_median redraw_gl_ms_median blur_vs_floor blur_vs_tutorial "
    "blur_vs_floor_gl blur_vs_tutorial_gl peak_rss_mb";
// Without models the arrow and room draws issue no draw calls, and a GL clock may read 0 for an
// interval with no work in it; only the sign is certain.
const char* const nonNegativeFigures =
    "clear_gl_ms_median fire_shadow_gl_ms_median main_shadow_gl_ms_median arrow_gl_ms_median "
    "room_gl_ms_median composite_gl_ms_median idle_gl_ms_median";

// One short run, the slow part, checked as a script and a person read it.
TEST(BenchOutputTest, OneShortRunReportsEveryFigure) {
    ASSERT_TRUE(fs::exists(benchExecutable())) << benchExecutable() << " is missing";
    TempDirectory files;
    // An earlier run to compare with: 4 frames where this run has 2, and no room figure.
    files.writeFile("earlier.json", "{\"frames\": 4, \"gl_errors\": 0}\n");
    Process bench(benchExecutable().string(),
                  {"--frames", "2", "--idle-frames", "5", "--warmup", "1", "--json",
                   (files.path() / "this.json").string(), "--compare",
                   (files.path() / "earlier.json").string()},
                  QUIVERFALL_SOURCE_DIR);
    const std::optional<int> status = bench.waitForExit(benchTimeoutSeconds);
    const std::string& out = bench.standardOutput();
    ASSERT_EQ(status, std::optional<int>(0)) << out << bench.standardError();

    // The last line is the JSON a script reads, and the --json file holds the same.
    const std::string line = lastLine(out);
    const std::string prefix = "BENCH ";
    ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
    const std::optional<std::map<std::string, double>> figures =
        parseFlatJson(line.substr(prefix.size()));
    ASSERT_TRUE(figures.has_value()) << line;
    for (const auto& [names, positive] :
         {std::pair{positiveFigures, true}, std::pair{nonNegativeFigures, false}}) {
        std::istringstream keys(names);
        for (std::string key; keys >> key;) {
            ASSERT_EQ(figures->count(key), 1U) << "missing " << key << " in " << line;
            EXPECT_TRUE(positive ? figures->at(key) > 0.0 : figures->at(key) >= 0.0) << key;
        }
    }
    ASSERT_EQ(figures->count("gl_errors"), 1U);
    EXPECT_EQ(figures->at("gl_errors"), 0.0);
    EXPECT_EQ(figures->at("frames"), 2.0);
    EXPECT_EQ(figures->at("idle_frames"), 5.0);
    // Each figure times what it names. An idle frame draws nothing but the present step (on
    // llvmpipe a fiftieth of a redraw) and the blur's 20 full-screen passes take about a dozen
    // composites: the factors checked are far from those, out of reach of a busy machine.
    EXPECT_LT(figures->at("idle_ms_median") * 4.0, figures->at("redraw_ms_median")) << line;
    EXPECT_GT(figures->at("blur_ms_median"), figures->at("composite_ms_median") * 4.0) << line;
    std::ifstream jsonFile(files.path() / "this.json");
    std::string json;
    std::getline(jsonFile, json);
    EXPECT_EQ("BENCH " + json, line);

    // A table for a person, and --compare beside the earlier run: 2 frames against 4 is half.
    EXPECT_NE(out.find("bloom blur (20 passes)"), std::string::npos) << out;
    EXPECT_NE(out.find("peak resident memory"), std::string::npos);
    const size_t frames = out.find("\nframes ", out.find("change against "));
    ASSERT_NE(frames, std::string::npos) << out;
    const std::string change = out.substr(frames + 1, out.find('\n', frames + 1) - frames - 1);
    EXPECT_NE(change.find("0.50x"), std::string::npos) << change;
    EXPECT_NE(change.find("-50.0%"), std::string::npos) << change;
    EXPECT_NE(out.find("(not in the other run)"), std::string::npos)
        << "figures the earlier run lacks are not marked";
}

} // namespace
