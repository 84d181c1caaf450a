// quiverfall-preview: renders the demo's models unlit (texture colour only, back faces culled) from
// chosen camera poses into PNG files, to check geometry, winding and texture orientation without
// the lighting in the way. Run it from the repository root.
#include "assets/Mesh.h"
#include "assets/ModelImporter.h"
#include "render/ShaderProgram.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int width = 1600;
constexpr int height = 900;

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

// ShaderProgram reads files, so the unlit sources are written next to the system's temp files.
ShaderProgram* buildUnlitProgram() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::ofstream(dir / "quiverfall-preview.vert") << vertexSource;
    std::ofstream(dir / "quiverfall-preview.frag") << fragmentSource;
    return new ShaderProgram((dir / "quiverfall-preview.vert").string(),
                             (dir / "quiverfall-preview.frag").string());
}

bool savePng(const std::string& path) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    // glReadPixels gives the bottom row first, which is FreeImage's order too.
    FIBITMAP* image = FreeImage_ConvertFromRawBits(pixels.data(), width, height, width * 3, 24,
                                                   0, 0, 0, FALSE);
    const bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), 0) != 0;
    FreeImage_Unload(image);
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 8 || (argc - 1) % 7 != 0) {
        usage();
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    if (!glfwInit()) {
        std::fprintf(stderr, "quiverfall-preview needs an X display (try xvfb-run)\n");
        return 1;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, "quiverfall-preview", nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no OpenGL 3.3 core context\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();

    ShaderProgram* program = buildUnlitProgram();
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
    glViewport(0, 0, width, height);
    glClearColor(0.2f, 0.0f, 0.2f, 1.0f); // magenta-ish: holes in the room stand out
    const glm::mat4 projection = glm::perspective(0.7853982f, 1600.0f / 900.0f, 1.0f, 100.0f);
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
        if (!savePng(argv[view])) {
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
