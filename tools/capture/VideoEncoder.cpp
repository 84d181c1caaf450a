#include "VideoEncoder.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The options that turn raw frames into the format asked for; `scale` resizes them.
// clang-format off
std::vector<std::string> formatOptions(VideoFormat format, const std::string& scale) {
    switch (format) {
    case VideoFormat::h264Mp4:
        // Players take an HD-sized H.264 stream as BT.709 unless told otherwise, so the frames
        // are converted with that matrix and tagged with it. CRF 18 keeps the stone and wood
        // textures of the start view within a level or two of the rendered picture on average.
        // Faststart puts the index first, so a browser plays the file while it loads.
        return {"-vf", scale + ":out_color_matrix=bt709:out_range=tv,format=yuv420p",
                "-c:v", "libx264", "-preset", "medium", "-crf", "18",
                "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709",
                "-color_range", "tv",
                "-movflags", "+faststart"};
    case VideoFormat::webp:
        return {"-vf", scale,
                "-c:v", "libwebp_anim", "-quality", "60",
                "-loop", "0"};
    case VideoFormat::gif:
        // One palette for the whole clip, made from what changes between frames, and an
        // ordered dither, which stays still from frame to frame where error diffusion crawls.
        return {"-filter_complex", scale + ",split[a][b];[a]palettegen=stats_mode=diff[p];"
                                           "[b][p]paletteuse=dither=bayer:bayer_scale=4",
                "-loop", "0"};
    case VideoFormat::unknown:
        break;
    }
    return {};
}
// clang-format on

bool writeAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

VideoFormat videoFormatOf(const std::string& path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    if (extension == ".mp4") {
        return VideoFormat::h264Mp4;
    }
    if (extension == ".webp") {
        return VideoFormat::webp;
    }
    if (extension == ".gif") {
        return VideoFormat::gif;
    }
    return VideoFormat::unknown;
}

std::unique_ptr<VideoEncoder> VideoEncoder::start(const VideoSettings& settings,
                                                  std::string& error) {
    const VideoFormat format = videoFormatOf(settings.path);
    if (format == VideoFormat::unknown) {
        error =
            "cannot write " + settings.path + ": a video's name must end in .mp4, .webp or .gif";
        return nullptr;
    }
    const std::string size =
        std::to_string(settings.frameWidth) + "x" + std::to_string(settings.frameHeight);
    // Lanczos for the preview's reduction; accurate rounding and full-resolution colour planes
    // for the conversion to 4:2:0, where the fast defaults darken everything by about a level.
    const std::string scale = "scale=" + std::to_string(settings.width) + ":" +
                              std::to_string(settings.height) +
                              ":flags=lanczos+accurate_rnd+full_chroma_int";
    // clang-format off
    std::vector<std::string> arguments = {
        "ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
        // the frames as they come down the pipe
        "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", size,
        "-framerate", std::to_string(settings.framesPerSecond), "-i", "-"};
    // clang-format on
    for (std::string& option : formatOptions(format, scale)) {
        arguments.push_back(std::move(option));
    }
    // "file:" keeps a name that starts with '-' or holds a ':' from being read as an option or
    // a protocol.
    arguments.push_back("file:" + settings.path);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
        return nullptr;
    }
    // A write to an ffmpeg that stopped fails with EPIPE instead of ending this process; ffmpeg
    // itself gets the default back.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaultSignals;
    sigemptyset(&defaultSignals);
    sigaddset(&defaultSignals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaultSignals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t encoder = -1;
    const int spawned =
        posix_spawnp(&encoder, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(fds[0]);
    if (spawned != 0) {
        close(fds[1]);
        if (spawned == ENOENT) {
            error = "cannot write " + settings.path +
                    ": the video encoder ffmpeg was not found. Install Debian's ffmpeg package "
                    "(apt-get install ffmpeg), or run ./run.sh, which installs it.";
        } else {
            error = "cannot start ffmpeg: " + std::string(std::strerror(spawned));
        }
        return nullptr;
    }
    return std::unique_ptr<VideoEncoder>(new VideoEncoder(settings, encoder, fds[1]));
}

VideoEncoder::VideoEncoder(const VideoSettings& settings, pid_t encoder, int pipe)
    : settings_(settings), encoder_(encoder), pipe_(pipe) {}

VideoEncoder::~VideoEncoder() {
    if (encoder_ < 0) {
        return;
    }
    kill(encoder_, SIGKILL);
    closeAndWait();
    std::error_code ignored;
    std::filesystem::remove(settings_.path, ignored);
}

bool VideoEncoder::addFrame(const Picture& frame) {
    if (pipe_ < 0 || frame.width != settings_.frameWidth || frame.height != settings_.frameHeight) {
        return false;
    }
    // The picture's rows run bottom to top, a video's top to bottom.
    const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
    for (int row = frame.height - 1; row >= 0; --row) {
        if (!writeAll(pipe_, frame.rgb.data() + rowBytes * static_cast<size_t>(row), rowBytes)) {
            return false;
        }
    }
    ++framesAdded_;
    return true;
}

bool VideoEncoder::finish(std::string& error) {
    const int status = closeAndWait();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    error = "ffmpeg could not write " + settings_.path +
            (WIFEXITED(status) ? " (exit status " + std::to_string(WEXITSTATUS(status)) + ")"
                               : std::string(" (it was stopped by a signal)"));
    std::error_code ignored;
    std::filesystem::remove(settings_.path, ignored);
    return false;
}

int VideoEncoder::closeAndWait() {
    if (pipe_ >= 0) {
        close(pipe_);
        pipe_ = -1;
    }
    int status = -1; // not an exit, should waitpid fail
    while (waitpid(encoder_, &status, 0) < 0 && errno == EINTR) {
    }
    encoder_ = -1;
    return status;
}
