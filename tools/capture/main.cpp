// quiverfall-capture: the demo run off-screen at a fixed time step as a user would see it (the
// start view, C, the scripted flight, the arrow volley and the black ending), saved as PNG
// frames, a contact sheet and, on request, a video.
#include "CaptureOptions.h"
#include "ContactSheet.h"
#include "RenderProgress.h"
#include "RunTool.h"
#include "VideoEncoder.h"

#include "app/Frame.h"
#include "app/Globals.h"
#include "app/SceneSetup.h"
#include "app/ScriptedKeys.h"
#include "offscreen/OffscreenWindow.h"
#include "render/FrameSize.h"
#include "scene/ArrowVolley.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::string frameName(float time) {
    char name[64];
    std::snprintf(name, sizeof(name), "frame_%05.2f.png", static_cast<double>(time));
    return name;
}

int framesFor(float seconds, float dt) {
    return static_cast<int>(std::lround(seconds / dt));
}

// Where the run's frames go: stills at the times asked for, the contact sheet, the video.
class Recorder {
  public:
    Recorder(const CaptureOptions& options, RenderProgress& progress)
        : options_(options), out_(options.outputDirectory), progress_(progress) {}

    // Starts the video, or says at once why it cannot be made; the stills are recorded either
    // way, and finish() says it again.
    void startVideo() {
        VideoSettings settings;
        settings.path = options_.videoPath;
        settings.frameWidth = frameWidth;
        settings.frameHeight = frameHeight;
        settings.width = options_.videoWidth > 0 ? options_.videoWidth : frameWidth;
        settings.height = options_.videoHeight > 0 ? options_.videoHeight : frameHeight;
        settings.framesPerSecond = options_.framesPerSecond;
        video_ = VideoEncoder::start(settings, videoError_);
        if (video_ == nullptr) {
            std::fprintf(stderr, "%s\n", videoError_.c_str());
        }
    }

    // The frame just run, `flightTime` seconds after C was pressed (0 or less before it). The
    // window is read back once, for the video and the stills alike, and only when one wants it.
    void frame(float flightTime) {
        lastFlightTime_ = flightTime;
        const bool inVideo =
            video_ != nullptr && flightTime >= options_.videoFrom && flightTime <= options_.videoTo;
        // Stills are of the flight, whose frames come after C at times above 0; at 0 the
        // window still shows the start view.
        const auto stillDue = [&] {
            return flightTime > 0.0f && nextStill_ < options_.times.size() &&
                   flightTime >= options_.times[nextStill_];
        };
        if (!inVideo && !stillDue()) {
            return;
        }
        const Picture picture = readWindowPixels();
        if (inVideo && ok_ && !video_->addFrame(picture)) {
            videoError_ = "ffmpeg stopped taking frames, so " + options_.videoPath +
                          " was not written (ffmpeg says why above)";
            ok_ = false;
        }
        while (stillDue()) {
            still(picture, frameName(options_.times[nextStill_]), true);
            ++nextStill_;
        }
    }

    // Saves what the window holds now.
    void still(const std::string& name, bool onSheet) { still(readWindowPixels(), name, onSheet); }

    void still(const Picture& picture, const std::string& name, bool onSheet) {
        const fs::path path = out_ / name;
        if (!savePng(picture, path.string())) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            ok_ = false;
        } else if (!options_.quiet) {
            progress_.breakLine();
            std::printf("wrote %s\n", path.c_str());
        }
        if (onSheet) {
            sheet_.push_back(picture);
        }
    }

    void fail() { ok_ = false; }

    // Writes the contact sheet and ends the video; true when everything asked for was written.
    bool finish() {
        // The options keep the stills within the run's end at its steady pace; float time may
        // still end a run a hair before a still asked for right at that end.
        if (ok_ && options_.flight && nextStill_ < options_.times.size()) {
            std::fprintf(stderr, "%s was not written: the run ended at %.2f s after C\n",
                         (out_ / frameName(options_.times[nextStill_])).c_str(),
                         static_cast<double>(lastFlightTime_));
            ok_ = false;
        }
        if (ok_ && options_.contactSheet) {
            const fs::path path = out_ / "contact_sheet.png";
            ok_ = writeContactSheet(sheet_, path.string());
            if (!ok_) {
                std::fprintf(stderr, "could not write %s\n", path.c_str());
            } else if (!options_.quiet) {
                std::printf("wrote %s\n", path.c_str());
            }
        }
        if (video_ != nullptr) {
            finishVideo();
        }
        if (!videoError_.empty()) {
            std::fprintf(stderr, "%s\n", videoError_.c_str());
            ok_ = false;
        }
        return ok_;
    }

    bool ok() const { return ok_; }

  private:
    // Ends the video; an unfinished run or an empty clip leaves no file behind.
    void finishVideo() {
        const int frames = video_->framesAdded();
        if (!videoError_.empty()) {
            video_.reset(); // ffmpeg stopped early, and videoError_ says so
            return;
        }
        if (!ok_) {
            videoError_ = "no video was written: the run did not finish";
        } else if (frames == 0) {
            videoError_ = "no video was written: no frame of the run falls between --video-from "
                          "and --video-to";
        } else if (video_->finish(videoError_)) {
            std::printf("wrote %s: %d frames at %d per second, %.2f s\n",
                        options_.videoPath.c_str(), frames, options_.framesPerSecond,
                        static_cast<double>(frames) / options_.framesPerSecond);
        }
        video_.reset();
    }

    const CaptureOptions& options_;
    const fs::path out_;
    RenderProgress& progress_;
    std::unique_ptr<VideoEncoder> video_;
    std::string videoError_;
    std::vector<Picture> sheet_;
    size_t nextStill_ = 0;
    float lastFlightTime_ = 0.0f;
    bool ok_ = true;
};

// Runs the demo's frames as a user would meet them and hands each to the recorder: the start
// view for the lead-in, C, the flight and the volley, then the black ending. Returns false when
// the volley did not end within the limit.
bool runDemo(const CaptureOptions& options, Recorder& recorder, RenderProgress& progress) {
    ScriptedKeys keys;
    const float dt = options.dt;
    const int leadInFrames = std::max(1, framesFor(options.leadIn, dt));
    int framesRun = 0;
    auto run = [&](float flightTime) {
        runFrame(keys, dt, frameSize);
        ++framesRun;
        progress.update(framesRun * static_cast<double>(dt));
        recorder.frame(flightTime);
    };

    for (int frame = 0; frame < leadInFrames; ++frame) {
        run(static_cast<float>(frame - (leadInFrames - 1)) * dt);
        if (frame == 0) {
            recorder.still("frame_start.png", true);
            if (!options.flight) {
                return true;
            }
        }
    }

    keys.held = {GLFW_KEY_C};
    float elapsed = 0.0f;
    const bool toBlack = options.until <= 0.0f;
    const float stop = toBlack ? options.limit : options.until;
    while (recorder.ok() && !arrowVolley->finished() && elapsed < stop) {
        elapsed += dt;
        run(elapsed);
        keys.held.clear();
    }
    if (!arrowVolley->finished()) {
        if (toBlack) {
            std::fprintf(stderr, "the volley did not end within %.1f s of flight\n",
                         static_cast<double>(options.limit));
            return false;
        }
        return true;
    }
    // The frame that ended the volley shows the last arrow where it struck.
    recorder.still("frame_last.png", true);
    const int blackFrames = framesFor(blackEnding, dt);
    for (int frame = 0; frame < blackFrames; ++frame) {
        elapsed += dt;
        run(elapsed);
        if (frame == 0) {
            recorder.still("frame_black.png", false);
        }
    }
    return true;
}

// Demo seconds the run is expected to take, for the progress line.
double expectedRunLength(const CaptureOptions& options) {
    const double flight = options.until > 0.0f ? options.until : runToBlackSeconds();
    return std::max(options.leadIn, options.dt) + (options.flight ? flight : 0.0);
}

// The capture itself, run by runTool in the data folder with the paths it was given made absolute.
int runCapture(const CaptureOptions& options) {
    std::error_code error;
    fs::create_directories(options.outputDirectory, error);
    if (error) {
        std::fprintf(stderr, "the folder %s was not made: %s\n", options.outputDirectory.c_str(),
                     error.message().c_str());
        return 1;
    }

    RenderProgress progress(expectedRunLength(options), !options.quiet);
    Recorder recorder(options, progress);
    if (!options.videoPath.empty()) {
        recorder.startVideo();
    }

    GLFWwindow* window = createHiddenWindow("Quiverfall");
    if (window == nullptr) {
        return 1;
    }
    setUpScene(window);
    prepareFirstFrame();

    if (!runDemo(options, recorder, progress)) {
        recorder.fail();
    }
    progress.done();
    bool ok = recorder.finish();
    if (glGetError() != GL_NO_ERROR) {
        std::fprintf(stderr, "GL ERROR DETECTED!!\n");
        ok = false;
    }
    releaseScene();
    glfwTerminate();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    return runTool(argc, argv, parseCaptureOptions,
                   {&CaptureOptions::outputDirectory, &CaptureOptions::videoPath}, runCapture);
}
