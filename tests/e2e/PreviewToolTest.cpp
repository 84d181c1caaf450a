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
    // In a copy of the data that lacks one arrow: only a run that gets as far as the import
    // meets it.
    expectFailures(
        preview,
        {
            {{"a.png", "0"}, 2, "quiverfall-preview needs seven arguments a view, not 2"},
            {{"a.png", "0", "abc", "10", "0", "0", "-1"},
             2,
             "EYE_Y of view 1 needs a number from -100 to 100, not \"abc\""},
            {{"a.png", "0", "2", "10", "0", "-1", "0"},
             2,
             "the direction of view 1 needs DIR_X or DIR_Z other than 0"},
            {{"a.png", "0", "2", "10", "0", "0", "-1"},
             1,
             "model not imported: ./Models/arrow2.obj"},
        },
        lacking.path());
}

} // namespace
