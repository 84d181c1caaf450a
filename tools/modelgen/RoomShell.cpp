// Hall shell. Walls are solid boxes rather than single inward faces: the main light stands
// outside the -x wall, and with back faces culled in the shadow pass only an outward face can
// stop its light, so the wall's outer side is what makes the window the only way in.
#include "RoomShell.h"

#include <cmath>

#include "Layout.h"
#include "Materials.h"

namespace modelgen {

namespace {

using glm::vec3;

constexpr float kBeamSpacing = 4.0f;
constexpr float kBeamDepth = 0.5f;
constexpr float kPillarSide = 0.9f;
constexpr float kPillarX = 7.5f;
// Pillars leave the middle of the hall open: the window's light and the camera's path between
// z = -18 and z = 2 need the room.
constexpr float kPillarZ[] = {-34.0f, -26.0f, -18.0f, 2.0f, 10.0f, 18.0f};
constexpr float kDaisFrontZ = -36.0f;
constexpr float kDaisHeight = 0.5f;

void floorAndCeiling(MeshBuilder& room) {
    room.axisBox(material::floor, vec3(kHallMinX, -0.5f, kHallMinZ),
                 vec3(kHallMaxX, 0.0f, kHallMaxZ), kFloorRepeat, UvMapping::World, FacePosY);
    room.axisBox(material::plaster,
                 vec3(kHallMinX - kWallThickness, kCeilingY, kHallMinZ - kWallThickness),
                 vec3(kHallMaxX + kWallThickness, kCeilingY + 0.5f, kHallMaxZ + kWallThickness),
                 kPlasterRepeat, UvMapping::World, FaceNegY);
    // Cross beams carry the roof; one over every pillar pair and between them.
    for (float z = kHallMinZ + kBeamSpacing; z < kHallMaxZ - 1.0f; z += kBeamSpacing) {
        room.axisBox(material::timber, vec3(kHallMinX, kCeilingY - 0.5f, z - kBeamDepth * 0.5f),
                     vec3(kHallMaxX, kCeilingY, z + kBeamDepth * 0.5f), kTimberRepeat,
                     UvMapping::Grain, AllFaces & ~FacePosY);
    }
}

void walls(MeshBuilder& room) {
    const float t = kWallThickness;
    auto wall = [&](const vec3& low, const vec3& high) {
        room.axisBox(material::stone, low, high, kStoneRepeat, UvMapping::World);
    };
    wall(vec3(kHallMinX - t, 0.0f, kHallMinZ - t), vec3(kHallMaxX + t, kCeilingY, kHallMinZ));
    wall(vec3(kHallMinX - t, 0.0f, kHallMaxZ), vec3(kHallMaxX + t, kCeilingY, kHallMaxZ + t));
    wall(vec3(kHallMaxX, 0.0f, kHallMinZ), vec3(kHallMaxX + t, kCeilingY, kHallMaxZ));
    // The -x wall is built around the window opening.
    wall(vec3(kHallMinX - t, 0.0f, kHallMinZ), vec3(kHallMinX, kCeilingY, kWindowMinZ));
    wall(vec3(kHallMinX - t, 0.0f, kWindowMaxZ), vec3(kHallMinX, kCeilingY, kHallMaxZ));
    wall(vec3(kHallMinX - t, 0.0f, kWindowMinZ), vec3(kHallMinX, kWindowMinY, kWindowMaxZ));
    wall(vec3(kHallMinX - t, kWindowMaxY, kWindowMinZ), vec3(kHallMinX, kCeilingY, kWindowMaxZ));

    // Stone mullions and a transom split the opening into six lights; their shadows stripe
    // the sunlit floor.
    const float third = (kWindowMaxZ - kWindowMinZ) / 3.0f;
    for (int i = 1; i < 3; ++i) {
        const float z = kWindowMinZ + third * static_cast<float>(i);
        wall(vec3(kHallMinX - t, kWindowMinY, z - 0.14f), vec3(kHallMinX, kWindowMaxY, z + 0.14f));
    }
    wall(vec3(kHallMinX - t, 5.55f, kWindowMinZ), vec3(kHallMinX, 5.8f, kWindowMaxZ));
    // Inner sill, a ledge a little wider than the opening.
    wall(vec3(kHallMinX, kWindowMinY - 0.2f, kWindowMinZ - 0.2f),
         vec3(kHallMinX + 0.3f, kWindowMinY, kWindowMaxZ + 0.2f));
}

void pillars(MeshBuilder& room) {
    for (float side : {-1.0f, 1.0f}) {
        for (float z : kPillarZ) {
            const float x = side * kPillarX;
            const float h = kPillarSide * 0.5f;
            room.axisBox(material::stone, vec3(x - 0.65f, 0.0f, z - 0.65f),
                         vec3(x + 0.65f, 0.45f, z + 0.65f), kStoneRepeat, UvMapping::World,
                         AllFaces & ~FaceNegY);
            room.axisBox(material::stone, vec3(x - h, 0.45f, z - h),
                         vec3(x + h, kCeilingY - 0.85f, z + h), kStoneRepeat, UvMapping::World,
                         AllFaces & ~(FaceNegY | FacePosY));
            room.axisBox(material::stone, vec3(x - 0.65f, kCeilingY - 0.85f, z - 0.65f),
                         vec3(x + 0.65f, kCeilingY - 0.5f, z + 0.65f), kStoneRepeat,
                         UvMapping::World, AllFaces & ~FacePosY);
        }
    }
}

void dais(MeshBuilder& room) {
    // A raised floor for the high table at the end of the hall, with one step up.
    room.axisBox(material::stone, vec3(kHallMinX, 0.0f, kHallMinZ),
                 vec3(kHallMaxX, kDaisHeight - 0.08f, kDaisFrontZ), kStoneRepeat, UvMapping::World,
                 FacePosZ);
    room.axisBox(material::floor, vec3(kHallMinX, kDaisHeight - 0.08f, kHallMinZ),
                 vec3(kHallMaxX, kDaisHeight, kDaisFrontZ + 0.05f), kFloorRepeat, UvMapping::World,
                 FacePosY | FacePosZ);
    room.axisBox(material::stone, vec3(kHallMinX, 0.0f, kDaisFrontZ),
                 vec3(kHallMaxX, 0.25f, kDaisFrontZ + 0.6f), kStoneRepeat, UvMapping::World,
                 FacePosY | FacePosZ);
}

// A plank door in a stone frame. Local frame: bottom centre of the doorway on the wall face,
// +z pointing into the hall.
void door(MeshBuilder& room, const glm::mat4& frame, float width, float height) {
    const float jamb = 0.45f;
    const float depth = 0.3f;
    auto piece = [&](const char* m, const vec3& low, const vec3& high, float repeat,
                     UvMapping mapping) {
        room.box(m, frame * translation((low + high) * 0.5f), high - low, repeat, mapping);
    };
    piece(material::stone, vec3(-width * 0.5f - jamb, 0.0f, 0.0f),
          vec3(-width * 0.5f, height, depth), kStoneRepeat, UvMapping::World);
    piece(material::stone, vec3(width * 0.5f, 0.0f, 0.0f), vec3(width * 0.5f + jamb, height, depth),
          kStoneRepeat, UvMapping::World);
    piece(material::stone, vec3(-width * 0.5f - jamb, height, 0.0f),
          vec3(width * 0.5f + jamb, height + 0.55f, depth), kStoneRepeat, UvMapping::World);
    // Vertical boards with hairline gaps between them.
    const int boards = static_cast<int>(std::lround(width / 0.5f));
    const float boardWidth = width / static_cast<float>(boards);
    for (int i = 0; i < boards; ++i) {
        const float x0 = -width * 0.5f + boardWidth * static_cast<float>(i);
        piece(material::timber, vec3(x0 + 0.008f, 0.0f, 0.02f),
              vec3(x0 + boardWidth - 0.008f, height, 0.14f), kTimberRepeat, UvMapping::Grain);
    }
    // Two leaves, each with three iron straps and a ring pull near the meeting edge.
    for (float side : {-1.0f, 1.0f}) {
        const float inner = 0.06f * side;
        const float outer = side * (width * 0.5f - 0.1f);
        const float lowX = std::fmin(inner, outer);
        const float highX = std::fmax(inner, outer);
        for (float y : {0.7f, height * 0.5f, height - 0.7f}) {
            piece(material::iron, vec3(lowX, y - 0.08f, 0.14f), vec3(highX, y + 0.08f, 0.18f),
                  kIronRepeat, UvMapping::Grain);
        }
        const vec3 ringCentre(side * 0.45f, height * 0.42f, 0.2f);
        std::vector<ProfilePoint> tube;
        for (int k = 0; k <= 8; ++k) {
            const float a = -1.5707963f + 6.2831853f * static_cast<float>(k) / 8.0f;
            tube.push_back({0.16f + 0.028f * std::cos(a), 0.028f * std::sin(a)});
        }
        room.lathe(material::iron, frame * translation(ringCentre) * rotationX(90.0f), tube, 16,
                   kIronRepeat, true);
        piece(material::iron, ringCentre + vec3(-0.08f, 0.1f, -0.06f),
              ringCentre + vec3(0.08f, 0.26f, -0.02f), kIronRepeat, UvMapping::Grain);
    }
}

void doors(MeshBuilder& room) {
    // The great door at the archers' end, and a side door beside the high table.
    door(room, translation(vec3(0.0f, 0.0f, kHallMaxZ)) * rotationY(180.0f), 5.0f, 6.0f);
    door(room, translation(vec3(kHallMaxX, 0.0f, -30.0f)) * rotationY(-90.0f), 2.5f, 4.6f);
}

void landscape(MeshBuilder& room) {
    // A painted backdrop beyond the window, behind the main light (x < -14.5) so it never
    // shades the room; it spans everything any camera pose can see through the opening.
    const float x = -16.0f;
    const float zNear = 34.0f;
    const float zFar = -46.0f;
    const float yLow = -10.0f;
    const float yHigh = 30.0f;
    const float span = 40.0f; // units per repeat: two repeats across, one up
    auto corner = [&](float z, float y) {
        return Vertex{vec3(x, y, z), glm::vec2((zNear - z) / span, (y - yLow) / span),
                      vec3(1, 0, 0)};
    };
    room.quad(material::sky, corner(zNear, yLow), corner(zFar, yLow), corner(zFar, yHigh),
              corner(zNear, yHigh));
}

} // namespace

void buildRoomShell(MeshBuilder& room) {
    floorAndCeiling(room);
    walls(room);
    pillars(room);
    dais(room);
    doors(room);
    landscape(room);
}

} // namespace modelgen
