#include "BenchOptions.h"

#include "NumberArgument.h"
#include "OptionReader.h"

#include <cstdio>

namespace {

const char* const helpText =
    "usage: quiverfall-bench [options]\n"
    "Sets the demo up in a hidden 1600x900 window (its own setUpScene, shaders and models) and\n"
    "times its render passes, each between two glFinish calls (wall time) and inside a\n"
    "GL_TIME_ELAPSED query (GL time). It reads Shader/ and Models/ as the demo does, from any\n"
    "folder it is started in; run it with standard input from /dev/null, since a missing model\n"
    "makes the importer wait for Enter. Needs an X display; use xvfb-run without one.\n"
    "\n"
    "Measured, each pass of the program's own frame as the frame runs it (with the arrow volley\n"
    "running, so the arrow is drawn): the clear of the scene framebuffer, the fire's and the\n"
    "main light's shadow passes, the arrow, the room, the 20-pass bloom blur, the composite\n"
    "into the finished picture and the picture presented in the window (which every frame\n"
    "does, redrawn or not); then the whole redrawn frame, the idle frame (runFrame with nothing\n"
    "to redraw) and the buffer swap with event polling. Two references run on the same bloom image "
    "in\n"
    "every measured round: 20 single-texelFetch copy passes (the least a 20-pass chain can\n"
    "cost) and 10 passes of the usual 9-tap bilinear Gaussian bloom.\n"
    "\n"
    "  --frames N       measured redraw rounds, 1 to 150 (default: 20); each round times the\n"
    "                   passes one by one, the two references, and one whole redrawn frame\n"
    "  --idle-frames N  measured idle frames, 1 to 10000 (default: 200)\n"
    "  --warmup N       rounds and idle frames run first and not counted (default: 2; 0 allowed)\n"
    "                   (--frames and --warmup together: at most 150)\n"
    "  --json PATH      also write the figures to PATH as one JSON object\n"
    "  --compare PATH   print each figure's change against another run's --json file\n"
    "  --help           this text\n"
    "\n"
    "Output: a table per clock (median, minimum, maximum and interquartile range in\n"
    "milliseconds), the blur's median against both references, the peak resident memory, and\n"
    "a last line \"BENCH {...}\" holding the figures as one line of JSON. The exit status is 0,\n"
    "1 when a GL error was seen, no GL context could be made, the --compare file could not be\n"
    "read or the --json file not written (both are tried before the run), 2 for unusable\n"
    "options.\n";

// Each round advances the volley by two frames of 1/60 s; it lasts about 400 frames.
constexpr int maxRedrawRounds = 150;
// An idle frame takes a few milliseconds even on software GL, so this many stay within a minute.
constexpr int maxIdleFrames = 10000;

} // namespace

bool parseBenchOptions(int argc, char** argv, BenchOptions& options, bool& helpShown) {
    for (OptionReader option(argc, argv, helpText, helpShown); option.next();) {
        if (option.takes("--frames")) {
            if (!readWholeNumber(option.name(), option.value(), 1, maxRedrawRounds,
                                 options.redrawFrames)) {
                return false;
            }
        } else if (option.takes("--idle-frames")) {
            if (!readWholeNumber(option.name(), option.value(), 1, maxIdleFrames,
                                 options.idleFrames)) {
                return false;
            }
        } else if (option.takes("--json")) {
            options.jsonPath = option.value();
        } else if (option.takes("--compare")) {
            options.comparePath = option.value();
        } else if (option.takes("--warmup")) {
            if (!readWholeNumber(option.name(), option.value(), 0, maxRedrawRounds - 1,
                                 options.warmupFrames)) {
                return false;
            }
        } else {
            return option.refuse();
        }
    }
    if (!helpShown && options.redrawFrames + options.warmupFrames > maxRedrawRounds) {
        std::fprintf(stderr,
                     "--frames and --warmup add up to at most %d: the redraw rounds run the arrow "
                     "volley, which ends (and the window turns black) after about 200\n",
                     maxRedrawRounds);
        return false;
    }
    return true;
}
