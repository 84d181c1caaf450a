#version 330 core
// Standard shading, vertex stage.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 MVP;
uniform mat4 V;
uniform mat4 M;
uniform mat4 normalMatrix = mat4(1.0);
uniform mat4 fireBiasMVP;
uniform mat4 lightBiasMVP;

out vec3 position_worldSpace;
out vec3 normal_worldSpace;
out vec2 textureCoordinate;
out vec4 fireShadowCoord;
out vec4 lightShadowCoord;

void main() {
    gl_Position = MVP * vec4(position, 1.0);
    position_worldSpace = (M * vec4(position, 1.0)).xyz;
    normal_worldSpace = mat3(normalMatrix) * normal;
    textureCoordinate = uv;
    fireShadowCoord = fireBiasMVP * vec4(position, 1.0);
    lightShadowCoord = lightBiasMVP * vec4(position, 1.0);
}
