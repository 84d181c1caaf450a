#version 330 core
// Standard shading, fragment stage: diffuse texture under ambient and unshadowed main light.

in vec3 position_worldSpace;
in vec3 normal_worldSpace;
in vec2 textureCoordinate;
in vec4 fireShadowCoord;
in vec4 lightShadowCoord;

uniform sampler2D texture_sampler;
uniform sampler2DShadow fireShadowMap;
uniform sampler2DShadow lightShadowMap;
uniform mat4 V;
uniform vec4 cameraShadowCoord;
uniform vec3 lightColor;
uniform vec3 ambientLightColor;
uniform vec3 lightPos_worldSpace;
uniform vec3 fireColor;
uniform vec3 firePos_worldSpace;

layout(location = 0) out vec3 color;
layout(location = 1) out vec3 brightColor;

void main() {
    vec3 albedo = texture(texture_sampler, textureCoordinate).rgb;
    vec3 toLight = normalize(lightPos_worldSpace - position_worldSpace);
    float diffuse = max(dot(normalize(normal_worldSpace), toLight), 0.0);
    color = albedo * (ambientLightColor + diffuse * lightColor);
    brightColor = vec3(0.0);
}
