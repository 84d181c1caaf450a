// quiverfall-modelgen rebuilds Models/ exactly: a rerun into an empty directory writes the same
// files, byte for byte, as the ones committed, and no others.
#include "support/Process.h"
#include "support/ReadFile.h"

#include <gtest/gtest.h>

#include <set>

namespace {

namespace fs = std::filesystem;

// Synthesising the textures and the room's geometry takes about 4 s on one core; the margin is for
// a CPU shared with other builds and tests.
constexpr double generatorTimeoutSeconds = 300.0;

fs::path generatorExecutable() {
    return fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/modelgen/quiverfall-modelgen";
}

// Every regular file below `root`, as paths relative to it.
std::set<fs::path> filesBelow(const fs::path& root) {
    std::set<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root));
        }
    }
    return files;
}

TEST(DemoDataRegenerationTest, RegeneratesTheCommittedFilesByteForByteAndSilently) {
    ASSERT_TRUE(fs::exists(generatorExecutable())) << generatorExecutable() << " is missing";
    TempDirectory output;
    Process generator(generatorExecutable().string(), {(output.path() / "Models").string()},
                      output.path());
    ASSERT_EQ(generator.waitForExit(generatorTimeoutSeconds), std::optional<int>(0))
        << generator.standardOutput() << generator.standardError();
    EXPECT_EQ(generator.standardError(), "");

    const fs::path generated = output.path() / "Models";
    const fs::path committed = fs::path(QUIVERFALL_SOURCE_DIR) / "Models";
    const std::set<fs::path> written = filesBelow(generated);
    const std::set<fs::path> expected = filesBelow(committed);
    EXPECT_FALSE(written.empty());
    for (const fs::path& file : expected) {
        EXPECT_EQ(written.count(file), 1u) << file << " is committed but not generated";
    }
    for (const fs::path& file : written) {
        EXPECT_EQ(expected.count(file), 1u) << file << " is generated but not committed";
        if (!fs::exists(committed / file)) {
            continue;
        }
        // Compared as a flag, not as text: a difference in a megabyte-sized file is no message.
        const std::string fresh = readFile(generated / file);
        const std::string stored = readFile(committed / file);
        EXPECT_TRUE(fresh == stored) << file << " differs from the committed file (" << fresh.size()
                                     << " bytes generated, " << stored.size() << " committed)";
    }
}

// --help, a mistyped option and a folder that cannot be made: a status and a line, and no models
// in a folder named after the option.
TEST(DemoDataRegenerationTest, FailuresEndWithAStatusAndALineNamingWhatFailed) {
    TempDirectory files;
    files.writeFile("file", "");
    const std::string underAFile = (files.path() / "file" / "Models").string();
    expectFailures(
        generatorExecutable().string(),
        {
            {{"--out", "x"}, 2, "quiverfall-modelgen takes one folder, not \"x\" (see --help)"},
            {{"-o"}, 2, "quiverfall-modelgen takes one folder, not \"-o\" (see --help)"},
            {{underAFile}, 1, "cannot create " + underAFile + "/textures: Not a directory"},
        },
        files.path());
    Process help(generatorExecutable().string(), {"--help"}, files.path());
    EXPECT_EQ(help.waitForExit(30.0), std::optional<int>(0));
    EXPECT_NE(help.standardOutput().find("usage: quiverfall-modelgen [FOLDER]"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(files.path()), fs::directory_iterator()), 1);
}

} // namespace
