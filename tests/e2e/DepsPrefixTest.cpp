// The scripts that build the Windows and browser libraries into a folder of the user's choosing
// refuse one they did not make, such as /usr/local, before they install or download anything,
// and leave it exactly as it was.
#include "support/Process.h"
#include "support/ReadFile.h"

#include <gtest/gtest.h>

#include <map>

TEST(DepsPrefixTest, AFolderTheScriptDidNotMakeIsRefusedAndLeftAsItWas) {
    for (const std::string name : {"build-windows-deps", "build-web-deps"}) {
        TempDirectory prefix;
        prefix.writeFile("include/keep.h", "#define KEEP 1\n");
        prefix.writeFile("lib/keep.a", "!<arch>\n");
        const auto tree = [&prefix] {
            std::map<std::filesystem::path, std::string> files; // a folder reads as ""
            for (const auto& entry : std::filesystem::recursive_directory_iterator(prefix.path())) {
                files[entry.path()] = readFile(entry.path());
            }
            return files;
        };
        const auto before = tree();
        Process script(QUIVERFALL_SOURCE_DIR "/scripts/" + name + ".sh", {prefix.path().string()},
                       prefix.path());
        // The refusal comes first: a script that went on would still be installing or downloading.
        EXPECT_EQ(script.waitForExit(20.0), 1) << name;
        EXPECT_EQ(script.standardError(), name + ": refusing " + prefix.path().string() +
                                              ": it holds files this script did not put there;"
                                              " name a new or empty folder\n");
        EXPECT_EQ(tree(), before) << name;
    }
}
