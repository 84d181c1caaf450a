// Reading a model file into meshes with their diffuse textures.
#pragma once

#include <vector>

class Mesh;
struct aiScene;

// Appends one new Mesh per mesh of the file, in the file's order; the caller owns them. Textures
// are looked for under "./Models/". On a read failure the import library's error text goes to
// standard error and the result is false; with a terminal on standard input the import first
// asks for Enter and waits for it, so the message is read before the program goes on.
bool importModel(const char* path, std::vector<Mesh*>& meshes);

// The part of importModel after the file was read: loads the materials' textures and appends the
// scene's meshes.
void appendSceneMeshes(const aiScene& scene, std::vector<Mesh*>& meshes);
