// A video file made by Debian's ffmpeg program from frames the caller reads back: raw RGB
// frames go down a pipe to an ffmpeg process, which scales and encodes them in the format the
// file name asks for.
#pragma once

#include "offscreen/Picture.h"

#include <memory>
#include <string>
#include <sys/types.h>

// The formats a video file name may ask for, by its extension.
enum class VideoFormat {
    h264Mp4, // ".mp4": H.264, 4:2:0, BT.709, plays everywhere
    webp,    // ".webp": animated WebP, looping, for web pages
    gif,     // ".gif": looping GIF with one palette made for the whole clip
    unknown,
};

VideoFormat videoFormatOf(const std::string& path);

struct VideoSettings {
    std::string path;
    int frameWidth = 0; // size of the frames given to addFrame
    int frameHeight = 0;
    int width = 0; // size of the video; H.264 needs both even
    int height = 0;
    int framesPerSecond = 0;
};

class VideoEncoder {
  public:
    // Starts ffmpeg. Returns null, with the reason in `error`, when it cannot start; a missing
    // ffmpeg gets a reason that names the package to install.
    static std::unique_ptr<VideoEncoder> start(const VideoSettings& settings, std::string& error);
    // Stops an encoder that was not finished and removes its incomplete file.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Sends one frame; false when ffmpeg no longer takes frames (it has said why on standard
    // error).
    bool addFrame(const Picture& frame);
    // Ends the input and waits for ffmpeg to write the file; false, with the reason in
    // `error`, when it did not.
    bool finish(std::string& error);

    int framesAdded() const { return framesAdded_; }

  private:
    VideoEncoder(const VideoSettings& settings, pid_t encoder, int pipe);
    // Closes the pipe and reaps ffmpeg; returns its wait status.
    int closeAndWait();

    VideoSettings settings_;
    pid_t encoder_ = -1;
    int pipe_ = -1;
    int framesAdded_ = 0;
};
