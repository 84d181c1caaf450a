// The material names shared by the room and the arrows, the texture each one uses, and how
// many world units one texture repeat covers.
#pragma once

#include <string>
#include <vector>

#include "ObjWriter.h"

namespace modelgen {

namespace material {
constexpr const char* floor = "floor_oak";
constexpr const char* stone = "wall_stone";
constexpr const char* plaster = "plaster";
constexpr const char* timber = "timber";
constexpr const char* hearthStone = "hearth_stone";
constexpr const char* iron = "iron";
constexpr const char* embers = "embers";
constexpr const char* charredLog = "charred_log";
constexpr const char* flame = "flame";
constexpr const char* banner = "banner";
constexpr const char* targetFace = "target_face";
constexpr const char* straw = "straw";
constexpr const char* clay = "clay";
constexpr const char* sky = "sky";
constexpr const char* arrowShaft = "arrow_shaft";
constexpr const char* arrowHead = "arrow_head";
constexpr const char* arrowFletching = "arrow_fletching";
} // namespace material

// World units per texture repeat. Large surfaces get 4 units so their 512-1024 texel maps keep
// about 128-256 texels per unit; small props get less so their detail is not lost.
constexpr float kFloorRepeat = 4.0f;
constexpr float kStoneRepeat = 4.0f;
constexpr float kPlasterRepeat = 4.0f;
constexpr float kTimberRepeat = 2.0f;
constexpr float kHearthRepeat = 2.0f;
constexpr float kIronRepeat = 1.0f;
constexpr float kStrawRepeat = 1.5f;
constexpr float kClayRepeat = 1.0f;

// The hall's shell, in the order the room's meshes should end: the demo draws a model's meshes in
// file order, and the depth test rejects a hidden fragment before shading it only when what
// hides it was drawn first. Walls, ceiling and floor are large and mostly hidden behind the
// furniture, so they come after it; the sky outside the window, hidden by all the walls, last.
const std::vector<std::string>& shellMaterialsDrawnLast();

// Entries for the MTL writer: every material with its texture path relative to Models/.
std::vector<MaterialEntry> materialEntries();

// Synthesises every texture into <modelsDirectory>/textures/; false if one cannot be written.
bool writeTextures(const std::string& modelsDirectory);

} // namespace modelgen
