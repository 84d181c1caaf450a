#version 330 core
// Standard shading, vertex stage: clip position, world-space surface for lighting, and the
// positions to look up in both lights' shadow maps. A normal longer than unit length marks a
// surface that gives off light (flames, embers): the excess length is its glow, from 0.25 up to
// 16 times the surface's colour.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 MVP;
uniform mat4 V;
uniform mat4 M;
// The room's draw never sets this matrix, so it keeps whatever an arrow uploaded last (or this
// initial value). Arrows only ever translate, so its 3x3 part is the identity in every case the
// program meets, and the room's normals come out right either way.
uniform mat4 normalMatrix = mat4(1.0);
uniform mat4 fireBiasMVP;
uniform mat4 lightBiasMVP;
uniform vec3 lightPos_worldSpace;
uniform vec3 firePos_worldSpace;
// The camera position in the main light's shadow-map space: one lookup tells whether the eye
// stands in the sunbeam.
uniform vec4 cameraShadowCoord;
uniform sampler2DShadow lightShadowMap;

out vec3 position_worldSpace;
out vec3 normal_worldSpace;
out vec3 camera_worldSpace;
out vec2 textureCoordinate;
out vec4 fireShadowCoord;
out vec4 lightShadowCoord;
flat out float cameraInSunlight;
out float glow;

// Normals up to this much too long are a file's rounding or a careless exporter, not glow.
const float glowDeadZone = 0.25;
// The strongest glow, a multiple of the texture colour: four times the hall's flames, and far
// below what overflows the half-float scene target (65504), whose infinity the blur would spread.
const float maxGlow = 16.0;

// Normal offset for the shadow lookups, in shadow-map texels. One texel of a 1024-texel map
// spanning 100 degrees covers 2 * tan(50 deg) / 1024 = 0.00233 units per unit of distance from
// the light; moving the lookup 1.5 texels off the surface keeps lit faces out of their own depth
// (no acne) without detaching shadows from their casters.
const float texelPerDistance = 0.00233;
const float normalOffsetTexels = 1.5;

vec4 shadowCoordinate(mat4 biasMVP, vec3 unitNormal, vec3 lightPosition, vec3 worldPosition) {
    float texelSize = texelPerDistance * distance(lightPosition, worldPosition);
    vec3 offsetPosition = position + unitNormal * (normalOffsetTexels * texelSize);
    return biasMVP * vec4(offsetPosition, 1.0);
}

// Fraction of the main light's texture-space frame over which its light fades out: the eye is in
// the sunbeam as far as the fragment stage lights the air there. Keep shadowFrameEdge equal in
// both files.
const float shadowFrameEdge = 0.12;

// 0 outside the light's frame or behind it, 1 inside, without a hard edge.
float inFrame(vec4 coord) {
    if (coord.w <= 0.0) {
        return 0.0;
    }
    vec2 p = coord.xy / coord.w;
    vec2 inside = smoothstep(0.0, shadowFrameEdge, p) * smoothstep(0.0, shadowFrameEdge, 1.0 - p);
    return inside.x * inside.y;
}

void main() {
    gl_Position = MVP * vec4(position, 1.0);
    position_worldSpace = (M * vec4(position, 1.0)).xyz;
    float normalLength = length(normal);
    // A model without normals keeps its zero normals; the fragment stage takes the facet's own.
    vec3 unitNormal = normalLength > 0.0 ? normal / normalLength : normal;
    float excess = normalLength - 1.0;
    glow = excess > glowDeadZone ? min(excess, maxGlow) : 0.0;
    normal_worldSpace = mat3(normalMatrix) * unitNormal;
    camera_worldSpace = -transpose(mat3(V)) * V[3].xyz;
    textureCoordinate = uv;
    fireShadowCoord =
        shadowCoordinate(fireBiasMVP, unitNormal, firePos_worldSpace, position_worldSpace);
    lightShadowCoord =
        shadowCoordinate(lightBiasMVP, unitNormal, lightPos_worldSpace, position_worldSpace);
    float cameraFrame = inFrame(cameraShadowCoord);
    cameraInSunlight =
        cameraFrame > 0.0 ? cameraFrame * textureProj(lightShadowMap, cameraShadowCoord) : 0.0;
}
