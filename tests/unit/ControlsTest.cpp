// Keyboard handling: which key acts when several are held.
#include "app/Controls.h"
#include "support/FakeKeyInput.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace {

TEST(ControlsTest, EscapeAsksTheWindowToClose) {
    FakeKeyInput keys;
    keys.held = {GLFW_KEY_ESCAPE};
    handleKeys(keys);
    EXPECT_TRUE(keys.closeRequested);
}

TEST(ControlsTest, NoKeyDoesNothing) {
    FakeKeyInput keys;
    handleKeys(keys);
    EXPECT_FALSE(keys.closeRequested);
}

} // namespace
