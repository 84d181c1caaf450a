// Per-frame keyboard handling: the first pressed key in a fixed order acts, once per frame.
#pragma once

class KeyInput;

void handleKeys(KeyInput& keys);
