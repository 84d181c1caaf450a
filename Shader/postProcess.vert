#version 330 core
// Full-screen quad for the composite and blur passes. The fragment shaders address texels
// through gl_FragCoord, so no texture coordinates are passed on.

layout(location = 0) in vec3 position;

void main() {
    gl_Position = vec4(position, 1.0);
}
