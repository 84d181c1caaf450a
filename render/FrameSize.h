// The size of everything the demo renders: the window, the viewport of the shaded passes and the
// off-screen render targets. The window is opened at this size and nothing follows a resize.
#pragma once

constexpr int frameWidth = 1600;
constexpr int frameHeight = 900;
constexpr float frameAspect = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);
