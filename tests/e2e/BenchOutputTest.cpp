// quiverfall-bench runs a short configuration to the end and its last line is the JSON a script
// can read. How fast anything is does not matter here.
#include "FlatJson.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>

namespace {

namespace fs = std::filesystem;

// Set-up plus two redraw rounds of a 20-pass blur and two reference chains on software GL take
// seconds; the margin is for a CPU shared with other builds.
constexpr double benchTimeoutSeconds = 300.0;

fs::path benchExecutable() {
    return fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/bench/quiverfall-bench";
}

std::string lastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n') {
        trimmed.pop_back();
    }
    const size_t start = trimmed.rfind('\n');
    return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

class BenchOutputTest : public ::testing::Test {
  protected:
    // One run serves every test: it is the slow part.
    static void SetUpTestSuite() {
        if (!fs::exists(benchExecutable())) {
            return;
        }
        files = new TempDirectory;
        // An earlier run to compare with: 4 frames where this run has 2, and no room figure.
        files->writeFile("earlier.json", "{\"frames\": 4, \"gl_errors\": 0}\n");
        Process bench(benchExecutable().string(),
                      {"--frames", "2", "--idle-frames", "5", "--warmup", "1", "--json",
                       (files->path() / "this.json").string(), "--compare",
                       (files->path() / "earlier.json").string()},
                      QUIVERFALL_SOURCE_DIR);
        run = new ProgramRun{bench.waitForExit(benchTimeoutSeconds), bench.standardOutput(),
                             bench.standardError()};
    }
    static void TearDownTestSuite() {
        delete run;
        run = nullptr;
        delete files;
        files = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(fs::exists(benchExecutable()))
            << benchExecutable() << " is missing: build the quiverfall-bench target";
        ASSERT_NE(run, nullptr);
        ASSERT_TRUE(run->exitStatus.has_value()) << "the bench did not finish";
    }

    static ProgramRun* run;
    static TempDirectory* files;
};

ProgramRun* BenchOutputTest::run = nullptr;
TempDirectory* BenchOutputTest::files = nullptr;

// The --json file holds the same figures as the BENCH line.
void expectTheJsonFileHoldsTheBenchLine(const ProgramRun& run, const fs::path& jsonFile) {
    std::ifstream file(jsonFile);
    std::string json;
    std::getline(file, json);
    EXPECT_EQ("BENCH " + json, lastLine(run.standardOutput)) << jsonFile;
}

// --compare lists each figure beside the earlier run's: 2 frames against 4 is half, -50%.
void expectTheChangeAgainstTheEarlierRun(const ProgramRun& run) {
    const std::string& out = run.standardOutput;
    ASSERT_NE(out.find("change against "), std::string::npos) << out;
    const size_t frames = out.find("\nframes ", out.find("change against "));
    ASSERT_NE(frames, std::string::npos) << out;
    const std::string line = out.substr(frames + 1, out.find('\n', frames + 1) - frames - 1);
    EXPECT_NE(line.find("0.50x"), std::string::npos) << line;
    EXPECT_NE(line.find("-50.0%"), std::string::npos) << line;
    EXPECT_NE(out.find("(not in the other run)"), std::string::npos)
        << "figures the earlier run lacks are not marked";
}

void expectEndsWithStatusZero(const ProgramRun& run) {
    EXPECT_EQ(*run.exitStatus, 0) << run.standardOutput << run.standardError;
}

void expectLastLineIsTheBenchJson(const ProgramRun& run) {
    const std::string line = lastLine(run.standardOutput);
    const std::string prefix = "BENCH ";
    ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
    EXPECT_TRUE(parseFlatJson(line.substr(prefix.size())).has_value()) << line;
}

void expectEveryFigureIsPresentAndPositive(const ProgramRun& run) {
    const std::string line = lastLine(run.standardOutput);
    const std::optional<std::map<std::string, double>> figures =
        parseFlatJson(line.substr(std::min(line.size(), std::string("BENCH ").size())));
    ASSERT_TRUE(figures.has_value()) << line;

    for (const char* key : {"frames",
                            "idle_frames",
                            "clear_ms_median",
                            "fire_shadow_ms_median",
                            "main_shadow_ms_median",
                            "arrow_ms_median",
                            "room_ms_median",
                            "blur_ms_median",
                            "composite_ms_median",
                            "present_picture_ms_median",
                            "copy_floor_ms_median",
                            "tutorial_bloom_ms_median",
                            "redraw_ms_median",
                            "idle_ms_median",
                            "swap_ms_median",
                            "blur_gl_ms_median",
                            "copy_floor_gl_ms_median",
                            "tutorial_bloom_gl_ms_median",
                            "redraw_gl_ms_median",
                            "blur_vs_floor",
                            "blur_vs_tutorial",
                            "blur_vs_floor_gl",
                            "blur_vs_tutorial_gl",
                            "peak_rss_mb"}) {
        ASSERT_EQ(figures->count(key), 1U) << "missing " << key << " in " << line;
        EXPECT_GT(figures->at(key), 0.0) << key;
    }
    // Without models the arrow and room draws issue no draw calls, and a GL clock may read 0 for
    // an interval with no work in it; only the sign is certain.
    for (const char* key : {"clear_gl_ms_median", "fire_shadow_gl_ms_median",
                            "main_shadow_gl_ms_median", "arrow_gl_ms_median", "room_gl_ms_median",
                            "composite_gl_ms_median", "idle_gl_ms_median"}) {
        ASSERT_EQ(figures->count(key), 1U) << "missing " << key << " in " << line;
        EXPECT_GE(figures->at(key), 0.0) << key;
    }
    ASSERT_EQ(figures->count("gl_errors"), 1U);
    EXPECT_EQ(figures->at("gl_errors"), 0.0);
    EXPECT_EQ(figures->at("frames"), 2.0);
    EXPECT_EQ(figures->at("idle_frames"), 5.0);
}

void expectPrintsATableForAPerson(const ProgramRun& run) {
    EXPECT_NE(run.standardOutput.find("bloom blur (20 passes)"), std::string::npos)
        << run.standardOutput;
    EXPECT_NE(run.standardOutput.find("peak resident memory"), std::string::npos);
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

TEST(BenchOptionsTest, UnknownOptionIsRefused) {
    ASSERT_TRUE(fs::exists(benchExecutable())) << benchExecutable() << " is missing";
    Process bench(benchExecutable().string(), {"--no-such-option"}, QUIVERFALL_SOURCE_DIR);
    const std::optional<int> status = bench.waitForExit(30.0);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 2);
    EXPECT_NE(bench.standardError().find("--no-such-option"), std::string::npos);
}

// The checks share one run of the bench, the slow part, and each test runs in a process of its
// own: so they are one test.
TEST_F(BenchOutputTest, OneShortRunReportsEveryFigure) {
    expectEndsWithStatusZero(*run);
    expectLastLineIsTheBenchJson(*run);
    expectEveryFigureIsPresentAndPositive(*run);
    expectPrintsATableForAPerson(*run);
    expectTheJsonFileHoldsTheBenchLine(*run, files->path() / "this.json");
    expectTheChangeAgainstTheEarlierRun(*run);
}

} // namespace
