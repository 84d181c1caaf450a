#include "app/Flicker.h"

#include <cstdlib>

bool Flicker::advance(float dt) {
    timer += dt;
    if (!(timer > interval)) {
        return false;
    }
    timer -= interval;
    const int intervalDraw = std::rand();
    const int greenDraw = std::rand();
    // 40 steps each: intervals 0.08 .. 0.1775 s, green 0.23 .. 0.3275.
    interval = (static_cast<float>(intervalDraw % 40) * 0.25f + 8.0f) / 100.0f;
    color = glm::vec3(0.55f, (static_cast<float>(greenDraw % 40) * 0.25f + 23.0f) / 100.0f, 0.03f);
    return true;
}
