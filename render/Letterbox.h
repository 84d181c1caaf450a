// Where a picture goes in a window of another size: scaled to fit with its aspect kept, centred,
// the spare sides left for black bars.
#pragma once

#include "render/FrameSize.h"

// A rectangle in window pixels, from the bottom-left corner as GL counts them.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest rectangle of the picture's aspect that fits the window, centred (an odd spare pixel
// goes to the right or the top). Empty when either size is 0.
PixelRect fitPicture(PixelSize picture, PixelSize window);

// `size` unchanged when it fits within `largest`; otherwise the largest size of its aspect that
// does (a canvas asked for no more drawing buffer than the GL can give).
PixelSize fitWithin(PixelSize size, PixelSize largest);
