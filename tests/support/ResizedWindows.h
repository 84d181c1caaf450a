// The window sizes the presentation tests resize to, as a user would (maximised, made narrow or
// wide, shrunk), and where the 16:9 picture goes in each, worked by hand: the side that fits takes
// the window's size, the other keeps 16:9, and the spare pixels are shared, an odd one going to
// the top or the right. The largest needs an X screen of at least 2400x1350.
#pragma once

#include "render/Letterbox.h"

struct ResizedWindow {
    const char* name;
    PixelSize window;
    PixelRect picture;
};

inline constexpr ResizedWindow resizedWindows[] = {
    {"maximised_2400x1350", {2400, 1350}, {0, 0, 2400, 1350}}, // 1.5 times, no bars
    {"narrow_1200x900", {1200, 900}, {0, 112, 1200, 675}},     // 900 - 675 = 225 spare
    {"wide_2000x700", {2000, 700}, {378, 0, 1244, 700}},       // 700 * 16 / 9 = 1244.4
    {"half_800x450", {800, 450}, {0, 0, 800, 450}},            // 0.5 times, no bars
};
