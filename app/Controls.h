// Per-frame keyboard handling: moves, turns, the flight and bloom toggles. Keys are read as
// levels and tested in a fixed order; only the first pressed one acts in a frame.
#pragma once

class KeyInput;

void handleKeys(KeyInput& keys);
