// quiverfall-preview: renders the demo's models unlit (texture colour only, back faces culled) from
// chosen camera poses into PNG files, to check geometry, winding and texture orientation without
// the lighting in the way. Run it from the repository root.
#include "assets/Mesh.h"
#include "assets/ModelImporter.h"
#include "offscreen/OffscreenWindow.h"
#include "render/FrameSize.h"
#include "render/ShaderProgram.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const vertexSource = R"(#version 330 core
in vec3 position;
in vec2 uv;
uniform mat4 MVP;
out vec2 textureCoordinate;
void main() { gl_Position = MVP * vec4(position, 1.0); textureCoordinate = uv; }
)";

const char* const fragmentSource = R"(#version 330 core
in vec2 textureCoordinate;
uniform sampler2D texture_sampler;
out vec4 color;
void main() { color = vec4(texture(texture_sampler, textureCoordinate).rgb, 1.0); }
)";

void usage() {
    std::puts("usage: quiverfall-preview OUT.png EYE_X EYE_Y EYE_Z DIR_X DIR_Y DIR_Z [...]\n"
              "Renders ./Models/room.obj and the three arrows unlit into OUT.png for each group\n"
              "of seven arguments: eye position and view direction, 45 degree vertical field of\n"
              "view, 16:9, near 1, far 100. Untextured meshes show black.");
}

ShaderProgram* buildUnlitProgram() {
    ShaderFailure failure;
    std::unique_ptr<ShaderProgram> program = ShaderProgram::fromSources(
        {"preview.vert", vertexSource}, {"preview.frag", fragmentSource}, failure);
    if (program == nullptr) {
        std::fprintf(stderr, "%s: %s\n", failure.source.c_str(), failure.message.c_str());
    }
    return program.release();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 8 || (argc - 1) % 7 != 0) {
        usage();
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    if (createHiddenWindow("quiverfall-preview") == nullptr) {
        return 1;
    }

    ShaderProgram* program = buildUnlitProgram();
    if (program == nullptr) {
        return 1;
    }
    std::vector<Mesh*> meshes;
    for (const char* path : {"./Models/room.obj", "./Models/arrow1.obj", "./Models/arrow2.obj",
                             "./Models/arrow3.obj"}) {
        importModel(path, meshes);
    }
    for (Mesh* mesh : meshes) {
        mesh->bindShadingProgram(*program);
    }

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glViewport(0, 0, frameWidth, frameHeight);
    glClearColor(0.2f, 0.0f, 0.2f, 1.0f); // magenta-ish: holes in the room stand out
    const glm::mat4 projection = glm::perspective(0.7853982f, frameAspect, 1.0f, 100.0f);
    for (int view = 1; view + 6 < argc; view += 7) {
        const glm::vec3 eye(std::atof(argv[view + 1]), std::atof(argv[view + 2]),
                            std::atof(argv[view + 3]));
        const glm::vec3 direction(std::atof(argv[view + 4]), std::atof(argv[view + 5]),
                                  std::atof(argv[view + 6]));
        const glm::mat4 mvp =
            projection * glm::lookAt(eye, eye + direction, glm::vec3(0.0f, 1.0f, 0.0f));
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(program->programId());
        glUniformMatrix4fv(glGetUniformLocation(program->programId(), "MVP"), 1, GL_FALSE,
                           &mvp[0][0]);
        glUniform1i(glGetUniformLocation(program->programId(), "texture_sampler"), 0);
        for (const Mesh* mesh : meshes) {
            mesh->draw();
        }
        glFinish();
        if (!savePng(readWindowPixels(), argv[view])) {
            std::fprintf(stderr, "could not write %s\n", argv[view]);
            return 1;
        }
        std::printf("wrote %s\n", argv[view]);
    }
    for (Mesh* mesh : meshes) {
        delete mesh;
    }
    delete program;
    glfwTerminate();
    return 0;
}
