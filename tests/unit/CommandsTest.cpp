// What the program is asked before any window opens, and the keys that act once per press.
#include "app/CommandKeys.h"
#include "app/CommandLine.h"
#include "app/PictureFile.h"
#include "app/ScriptedKeys.h"
#include "support/Process.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLine read(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quiverfall");
    return readCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLineTest, NoArgumentsRunAsBeforeAndTheFirstUnknownOneIsRefused) {
    EXPECT_EQ(read({}).action, CommandLine::Action::run);
    EXPECT_FALSE(read({}).fullScreen);
    EXPECT_TRUE(read({"--fullscreen"}).fullScreen);
    EXPECT_EQ(read({"--fullscreen", "--help"}).action, CommandLine::Action::showHelp);
    EXPECT_EQ(read({"-h"}).action, CommandLine::Action::showHelp);
    EXPECT_EQ(read({"--version"}).action, CommandLine::Action::showVersion);
    const CommandLine refused = read({"--fullscreen", "--full-screen", "--help"});
    EXPECT_EQ(refused.action, CommandLine::Action::refuse);
    EXPECT_EQ(refused.refused, "--full-screen");
    EXPECT_EQ(read({"Models/room.obj"}).action, CommandLine::Action::refuse);
}

TEST(CommandKeysTest, EachCommandActsOnceAPressWhateverElseIsHeld) {
    CommandKeys commands;
    ScriptedKeys keys;
    auto frame = [&](std::set<int> held) {
        keys.held = std::move(held);
        const Commands read = commands.read(keys);
        return std::vector<bool>{read.togglePause, read.toggleFullScreen, read.savePicture};
    };
    using Acted = std::vector<bool>;
    EXPECT_EQ(frame({GLFW_KEY_UP, GLFW_KEY_P}), (Acted{true, false, false}));
    EXPECT_EQ(frame({GLFW_KEY_UP, GLFW_KEY_P}), (Acted{false, false, false})) << "held, not again";
    EXPECT_EQ(frame({}), (Acted{false, false, false}));
    EXPECT_EQ(frame({GLFW_KEY_P}), (Acted{true, false, false})) << "pressed again";
    EXPECT_EQ(frame({GLFW_KEY_F11, GLFW_KEY_F12}), (Acted{false, true, true}));
    EXPECT_EQ(frame({}), (Acted{false, false, false}));
    EXPECT_EQ(frame({GLFW_KEY_ENTER}), (Acted{false, false, false})) << "Enter alone";
    EXPECT_EQ(frame({GLFW_KEY_ENTER, GLFW_KEY_RIGHT_ALT}), (Acted{false, true, false}));
    EXPECT_EQ(frame({GLFW_KEY_LEFT_ALT}), (Acted{false, false, false}));
    EXPECT_EQ(frame({GLFW_KEY_LEFT_ALT, GLFW_KEY_ENTER}), (Acted{false, true, false}));
}

TEST(PictureFileTest, NamedForTheMomentAndNeverOverAnEarlierPicture) {
    std::tm taken{};
    taken.tm_year = 2026 - 1900;
    taken.tm_mon = 0; // January
    taken.tm_mday = 2;
    taken.tm_hour = 3;
    taken.tm_min = 4;
    taken.tm_sec = 5;
    EXPECT_EQ(pictureFileName(taken), "quiverfall-20260102-030405.png");

    const TempDirectory folder;
    EXPECT_EQ(newPicturePath(folder.path(), taken), folder.path() / pictureFileName(taken));
    folder.writeFile(pictureFileName(taken), "an earlier picture");
    folder.writeFile("quiverfall-20260102-030405-2.png", "and another");
    EXPECT_EQ(newPicturePath(folder.path(), taken),
              folder.path() / "quiverfall-20260102-030405-3.png");
}

} // namespace
