// The browser suite's window into the demo: functions the page's tests call from JavaScript. Only
// the browser build compiles this file, into the program itself, so that the exports are kept.
#include "app/Camera.h"
#include "app/Globals.h"
#include "scene/ArrowVolley.h"

#include <emscripten/emscripten.h>

// What the page's tests read of the demo's progress, once per animation frame: the seconds of
// camera flight, and the arrow in flight (0 to 2; -1 before the volley, during its pauses and
// after it).
extern "C" EMSCRIPTEN_KEEPALIVE float quiverfall_flight_time() {
    return camera.flightTime;
}

extern "C" EMSCRIPTEN_KEEPALIVE int quiverfall_arrow_in_flight() {
    if (arrowVolley == nullptr || !camera.volleyCue || !sequenceStarted) {
        return -1;
    }
    const VolleyTimeline& timeline = arrowVolley->timeline();
    const int current = timeline.currentArrow();
    const bool waiting = current > 0 && timeline.timer < timeline.delay;
    return timeline.finished || waiting ? -1 : current;
}
