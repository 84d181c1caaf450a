// What a video file holds, as ffprobe and ffmpeg read it: a player's view of the file rather
// than the encoder's.
#pragma once

#include "offscreen/Picture.h"

#include <string>

struct VideoProbe {
    bool readable = false;
    std::string codec; // for example "h264"
    std::string pixelFormat;
    int width = 0;
    int height = 0;
    std::string frameRate; // as a fraction, for example "15/1"
    int frames = 0;        // counted by decoding every frame
    double duration = 0.0; // seconds, from the container
};

VideoProbe probeVideo(const std::string& path);

// Frame `index` (0 first) decoded to RGB as a player shows it; an empty picture when there is
// none.
Picture decodeVideoFrame(const std::string& path, int index);
