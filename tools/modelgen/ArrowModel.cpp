// Arrow geometry. Built along +y (the axis lathe() revolves about) and turned onto +z.
#include "ArrowModel.h"

#include <cmath>

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include "Layout.h"
#include "Materials.h"

namespace modelgen {

namespace {

constexpr float kShaftRadius = 0.05f; // 0.1 thick: about five pixels wide at 20 units
constexpr float kHeadEnd = 0.40f;     // the shaft starts inside the head's socket
constexpr float kVaneLength = 0.5f;
constexpr float kVaneStart = kArrowLength - 0.66f; // vanes end 0.16 before the nock
// Blade thickness relative to its width: a flat broadhead that shows its shape from above.
constexpr float kBladeFlatness = 0.28f;

// A vane's outline: (distance along the shaft from the vane's front, height above the shaft),
// a shield cut that is convex so a fan from the first point triangulates it.
const glm::vec2 kVaneOutline[] = {{0.0f, 0.0f},    {0.06f, 0.035f}, {0.22f, 0.11f},
                                  {0.40f, 0.145f}, {0.47f, 0.13f},  {0.5f, 0.0f}};
constexpr float kVaneHeight = 0.145f;

void addVane(MeshBuilder& mesh, const glm::mat4& frame, float angleDegrees, bool cock) {
    const float a = glm::radians(angleDegrees);
    const glm::vec3 out(std::sin(a), 0.0f, -std::cos(a)); // -z of this frame becomes world +y
    const size_t count = sizeof kVaneOutline / sizeof kVaneOutline[0];
    Vertex corners[count];
    for (size_t i = 0; i < count; ++i) {
        const glm::vec2 p = kVaneOutline[i];
        corners[i].position = glm::vec3(0.0f, kVaneStart + p.x, 0.0f) + (kShaftRadius + p.y) * out;
        corners[i].uv =
            glm::vec2(p.x / kVaneLength * 0.5f + (cock ? 0.5f : 0.0f), p.y / kVaneHeight);
    }
    const glm::vec3 side = glm::normalize(glm::cross(corners[1].position - corners[0].position,
                                                     corners[2].position - corners[0].position));
    // A vane is seen from both sides; the two sides are separate triangles since back faces
    // are culled.
    MeshBuilder vane;
    for (size_t i = 1; i + 1 < count; ++i) {
        Vertex p0 = corners[0], p1 = corners[i], p2 = corners[i + 1];
        p0.normal = p1.normal = p2.normal = side;
        vane.triangle(material::arrowFletching, p0, p1, p2);
        p0.normal = p1.normal = p2.normal = -side;
        vane.triangle(material::arrowFletching, p0, p2, p1);
    }
    mesh.append(vane, frame);
}

} // namespace

void addArrow(MeshBuilder& mesh, const glm::mat4& placement) {
    const glm::mat4 frame = placement * rotationX(90.0f); // the build axis +y onto +z
    mesh.lathe(material::arrowHead, frame * scaling(glm::vec3(1.0f, 1.0f, kBladeFlatness)),
               {{0.0f, 0.0f}, {0.125f, 0.22f}, {0.035f, 0.31f}, {0.0f, 0.31f}}, 4, 0.5f, false);
    mesh.lathe(material::arrowHead, frame,
               {{0.0f, 0.26f}, {0.04f, 0.27f}, {0.062f, 0.42f}, {0.056f, 0.44f}, {0.0f, 0.44f}}, 12,
               0.5f, true);
    // One texture repeat over the whole length puts the cresting and nock where the texture
    // paints them.
    mesh.lathe(material::arrowShaft, frame,
               {{kShaftRadius, kHeadEnd},
                {kShaftRadius, kArrowLength - 0.07f},
                {0.06f, kArrowLength - 0.05f},
                {0.06f, kArrowLength},
                {0.0f, kArrowLength}},
               12, kArrowLength, true, kHeadEnd / kArrowLength);
    addVane(mesh, frame, 0.0f, true);
    addVane(mesh, frame, 120.0f, false);
    addVane(mesh, frame, -120.0f, false);
}

} // namespace modelgen
