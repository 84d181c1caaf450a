// The scripted camera flight through the room: keyframed poses over 34.5 s, with a pause at 29 s.
// Every frame from 29 s on cues the arrow volley.
#pragma once

// Seconds of flight from which every frame cues the volley; the pause that starts here lets it
// begin.
constexpr float volleyCueTime = 29.0f;

// Puts the camera at the first keyframe and starts the flight clock at 0.
void startFlight();

// Advances a running flight by the frame time (seconds) and poses the camera; does nothing while
// no flight runs.
void updateFlight(float dt);
