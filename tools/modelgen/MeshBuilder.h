// Collects triangles per material and builds the primitive shapes the models are made of.
// Every triangle is stored with its three corners (the demo draws plain triangle lists), wound
// counter-clockwise as seen from the side its normals point to.
#pragma once

#include <string>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace modelgen {

struct Vertex {
    glm::vec3 position;
    glm::vec2 uv;
    glm::vec3 normal;
};

struct MeshGroup {
    std::string material;
    std::vector<Vertex> corners; // three per triangle
};

// How box faces get texture coordinates; both keep one texture repeat per unitsPerRepeat units.
enum class UvMapping {
    // From world position: horizontal faces use x and z, vertical faces use the horizontal
    // direction along the face and height, so courses of stone line up across separate boxes.
    World,
    // From the box's own axes with v along the longest edge of each face, because every wood
    // texture has its grain running along v.
    Grain,
};

enum BoxFace : unsigned {
    FacePosX = 1U,
    FaceNegX = 2U,
    FacePosY = 4U,
    FaceNegY = 8U,
    FacePosZ = 16U,
    FaceNegZ = 32U,
    AllFaces = 63U,
};

// A profile point of a surface of revolution: distance from the axis and height.
struct ProfilePoint {
    float radius;
    float y;
};

class MeshBuilder {
  public:
    // Corners must already be counter-clockwise seen from the front; a triangle whose winding
    // disagrees with its normals is a bug in the caller and stops the program.
    void triangle(const std::string& material, const Vertex& a, const Vertex& b, const Vertex& c);
    void quad(const std::string& material, const Vertex& a, const Vertex& b, const Vertex& c,
              const Vertex& d);

    // Box of the given size centred on the origin of placement.
    void box(const std::string& material, const glm::mat4& placement, const glm::vec3& size,
             float unitsPerRepeat, UvMapping mapping, unsigned faces = AllFaces);
    void axisBox(const std::string& material, const glm::vec3& low, const glm::vec3& high,
                 float unitsPerRepeat, UvMapping mapping, unsigned faces = AllFaces);

    // Surface of revolution about the local y axis, profile listed from bottom to top so the
    // outside faces outwards. smooth = false gives faceted (flat-shaded) surfaces for rocks and
    // blades. u runs around (a whole number of repeats), v along the profile.
    void lathe(const std::string& material, const glm::mat4& placement,
               const std::vector<ProfilePoint>& profile, int segments, float unitsPerRepeat,
               bool smooth, float vOffset = 0.0f);

    // Flat disc in the local xz plane facing +y, with planar texture coordinates: the disc's
    // rim maps onto the circle of uvRadius around uvCentre.
    void disc(const std::string& material, const glm::mat4& placement, float radius, int segments,
              const glm::vec2& uvCentre, float uvRadius);

    // Hanging cloth in the local xy plane facing +z: top edge at y = 0, hanging down by height,
    // bottom edge cut into a swallowtail notch, gently folded. uvLow/uvHigh frame the whole cloth.
    void cloth(const std::string& material, const glm::mat4& placement, float width, float height,
               float notchDepth, float foldDepth, const glm::vec2& uvLow, const glm::vec2& uvHigh);

    // Appends everything another builder holds, transformed by placement.
    void append(const MeshBuilder& other, const glm::mat4& placement);

    const std::vector<MeshGroup>& groups() const { return meshGroups; }

    // Moves the groups of the given materials behind all others, in the order given; the others
    // keep their order. The demo draws a model's meshes in this order.
    void moveGroupsToEnd(const std::vector<std::string>& materials);

  private:
    MeshGroup& group(const std::string& material);
    void transformedTriangle(const std::string& material, const glm::mat4& placement, Vertex a,
                             Vertex b, Vertex c);

    std::vector<MeshGroup> meshGroups;
};

// Small helpers for building placements.
glm::mat4 translation(const glm::vec3& offset);
glm::mat4 rotationY(float degrees);
glm::mat4 rotationX(float degrees);
glm::mat4 rotationZ(float degrees);
glm::mat4 scaling(const glm::vec3& factors);
// Rigid placement at origin whose local +y axis points along direction (for logs, spears,
// chains and other pieces defined by their two ends).
glm::mat4 pointingY(const glm::vec3& origin, const glm::vec3& direction);

} // namespace modelgen
