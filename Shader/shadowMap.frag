#version 330 core
// Depth pass of a shadow map: only depth is written.

void main() {
}
