// quiverfall-preview's failures, as a user meets them: each ends with a status and a last line
// that says what failed.
#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(PreviewToolTest, FailuresEndWithAStatusAndALineNamingWhatFailed) {
    const std::string preview =
        (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/preview/quiverfall-preview")
            .string();
    TempDirectory lacking;
    lacking.copyFromSource("Shader"); // without it, the tool would look for the data elsewhere
    lacking.copyFromSource("Models");
    fs::remove(lacking.path() / "Models/arrow2.obj");
    const fs::path source = QUIVERFALL_SOURCE_DIR;
    const struct {
        fs::path folder;
        std::vector<std::string> arguments;
        int status;
        std::string line;
    } table[] = {
        {source, {"a.png", "0"}, 2, "quiverfall-preview needs seven arguments a view, not 2"},
        {source,
         {"a.png", "0", "abc", "10", "0", "0", "-1"},
         2,
         "EYE_Y of view 1 needs a number from -100 to 100, not \"abc\""},
        {source,
         {"a.png", "0", "2", "10", "0", "-1", "0"},
         2,
         "the direction of view 1 needs DIR_X or DIR_Z other than 0"},
        {lacking.path(),
         {"a.png", "0", "2", "10", "0", "0", "-1"},
         1,
         "model not imported: ./Models/arrow2.obj"},
        {source,
         {"/no-folder/a.png", "0", "2", "10", "0", "0", "-1"},
         1,
         "could not write /no-folder/a.png"},
    };
    for (const auto& row : table) {
        Process tool(preview, row.arguments, row.folder);
        EXPECT_EQ(tool.waitForExit(60.0), std::optional<int>(row.status)) << row.line;
        EXPECT_EQ(lastLine(tool.standardError()), row.line);
    }
}

} // namespace
