// Where things stand in the hall (world units, y up, floor at y = 0). The room and the arrows
// are generated separately, so the places where they must meet are named here once.
#pragma once

#include <glm/vec3.hpp>

namespace modelgen {

// The hall: long in z because the camera looks down it both ways; 20 wide and 10 high so that
// no pose of the camera flight comes within the 1-unit near plane of a wall.
constexpr float kHallMinX = -10.0f;
constexpr float kHallMaxX = 10.0f;
constexpr float kHallMinZ = -42.0f;
constexpr float kHallMaxZ = 26.0f;
constexpr float kCeilingY = 10.0f;
constexpr float kWallThickness = 0.6f;

// The window in the -x wall faces the main light outside at (-14.5, 6, -7.5), which shines
// along +x and down: sunlight falls through it in long shafts across the floor.
constexpr float kWindowMinZ = -12.0f;
constexpr float kWindowMaxZ = -3.0f;
constexpr float kWindowMinY = 2.0f;
constexpr float kWindowMaxY = 8.0f;

// The fire light sits 1 unit above the middle of the fire pit.
inline const glm::vec3 kHearthCentre(0.0f, 0.0f, -20.0f);

// Arrows: 2.4 units long, bigger than life so that they read from 20 units away. Each file puts
// its arrow tip first towards -z; the demo only moves it along -z by its travel.
constexpr float kArrowLength = 2.4f;
constexpr float kLongTravel = 25.0f; // arrows 1 and 2
constexpr float kShortTravel = 7.1f; // arrow 3
// Arrow 1 lands in the archery target, arrow 2 in the wooden pell post, arrow 3 stops about
// 1.6 units in front of the final camera eye (3.6, 4, -10.4) along its view direction.
inline const glm::vec3 kArrow1Tip(4.6f, 1.35f, 22.0f);
inline const glm::vec3 kArrow2Tip(-1.5f, 1.3f, 21.6f);
inline const glm::vec3 kArrow3Tip(2.734f, 3.503f, -2.05f);

// The target boss that stops arrow 1: a straw disc facing +z. The arrow's tip (at z = -3.0
// after its travel) pierces it so that the broad head shows 0.3 beyond the back, which is the
// side the camera watches from.
inline const glm::vec3 kTargetCentre(4.5f, 1.55f, -2.5f);
constexpr float kTargetRadius = 1.0f;
constexpr float kTargetThickness = 0.4f;

// The pell (a square practice post) that stops arrow 2; its front face is at z = -3.3.
inline const glm::vec3 kPellCentre(-1.5f, 0.0f, -3.55f);
constexpr float kPellSide = 0.5f;

} // namespace modelgen
