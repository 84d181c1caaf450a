#version 330 core
// Depth pass of a shadow map: positions into the light's clip space.

layout(location = 0) in vec3 position;

uniform mat4 lightMVP;

void main() {
    gl_Position = lightMVP * vec4(position, 1.0);
}
