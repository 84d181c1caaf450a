// What a window of another size should show of a picture: the picture scaled with bilinear
// filtering into a rectangle, black everywhere else. An oracle for the present step, written
// from the filter's definition (sample at each target pixel's centre, weigh the four nearest
// texels), not from the code under test.
#pragma once

#include "offscreen/OffscreenWindow.h"
#include "render/Letterbox.h"

// A `window`-sized picture: black, with `picture` scaled into `into`.
Picture letterboxed(const Picture& picture, const PixelRect& into, PixelSize window);
