// quiverfall-preview: renders the demo's models unlit (texture colour only, back faces culled) from
// chosen camera poses into PNG files, to check geometry, winding and texture orientation without
// the lighting in the way. It reads the demo's data as the demo does, from wherever it is started.
#include "NumberArgument.h"
#include "app/DataFolder.h"
#include "assets/Mesh.h"
#include "assets/ModelImporter.h"
#include "offscreen/OffscreenWindow.h"
#include "render/FrameSize.h"
#include "render/ShaderProgram.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cstdio>
#include <filesystem>
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

// The hall lies within 42 units of the origin and the far plane is 100 units away: from an eye
// further out than this on an axis, little of it is left in sight.
constexpr double coordinateLimit = 100.0;

// What one group of seven arguments asks for.
struct View {
    std::string path;
    glm::vec3 eye;
    glm::vec3 direction;
};

void usage() {
    std::puts("usage: quiverfall-preview OUT.png EYE_X EYE_Y EYE_Z DIR_X DIR_Y DIR_Z [...]\n"
              "Renders ./Models/room.obj and the three arrows unlit into OUT.png for each group\n"
              "of seven arguments: eye position and view direction, 45 degree vertical field of\n"
              "view, 16:9, near 1, far 100. Untextured meshes show black. Each number is from\n"
              "-100 to 100, and a direction has DIR_X or DIR_Z other than 0. The exit status\n"
              "is 0, 1 when a model was not imported or a picture not written, 2 for unusable\n"
              "arguments.");
}

std::unique_ptr<ShaderProgram> buildUnlitProgram() {
    ShaderFailure failure;
    std::unique_ptr<ShaderProgram> program = ShaderProgram::fromSources(
        {"preview.vert", vertexSource}, {"preview.frag", fragmentSource}, failure);
    if (program == nullptr) {
        std::fprintf(stderr, "%s: %s\n", failure.source.c_str(), failure.message.c_str());
    }
    return program;
}

// Imports the models into `meshes` and renders each view into its file; false (after saying what
// failed) when a model was not imported or a picture not written.
bool renderViews(const std::vector<View>& views, const ShaderProgram& program,
                 std::vector<Mesh*>& meshes) {
    for (const char* path : {"./Models/room.obj", "./Models/arrow1.obj", "./Models/arrow2.obj",
                             "./Models/arrow3.obj"}) {
        if (!importModel(path, meshes)) {
            // The import library's error text, just printed, does not end its line.
            std::fprintf(stderr, "\nmodel not imported: %s\n", path);
            return false;
        }
    }
    for (Mesh* mesh : meshes) {
        mesh->bindShadingProgram(program);
    }

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glViewport(0, 0, frameWidth, frameHeight);
    glClearColor(0.2f, 0.0f, 0.2f, 1.0f); // magenta-ish: holes in the room stand out
    const glm::mat4 projection = glm::perspective(0.7853982f, frameAspect, 1.0f, 100.0f);
    for (const View& view : views) {
        const glm::mat4 mvp = projection * glm::lookAt(view.eye, view.eye + view.direction,
                                                       glm::vec3(0.0f, 1.0f, 0.0f));
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(program.programId());
        glUniformMatrix4fv(glGetUniformLocation(program.programId(), "MVP"), 1, GL_FALSE,
                           &mvp[0][0]);
        glUniform1i(glGetUniformLocation(program.programId(), "texture_sampler"), 0);
        for (const Mesh* mesh : meshes) {
            mesh->draw();
        }
        glFinish();
        if (!savePng(readWindowPixels(), view.path)) {
            std::fprintf(stderr, "could not write %s\n", view.path.c_str());
            return false;
        }
        std::printf("wrote %s\n", view.path.c_str());
    }
    return true;
}

// Reads every view before any is rendered, so a mistyped number costs no window; false (after
// saying which argument is wrong) when one cannot be used.
bool readViews(int argc, char** argv, std::vector<View>& views) {
    static const char* const names[] = {"EYE_X", "EYE_Y", "EYE_Z", "DIR_X", "DIR_Y", "DIR_Z"};
    for (int first = 1; first + 6 < argc; first += 7) {
        float numbers[6] = {};
        for (int index = 0; index < 6; ++index) {
            const std::string name =
                std::string(names[index]) + " of view " + std::to_string(views.size() + 1);
            if (!readNumber(name, argv[first + 1 + index], -coordinateLimit, coordinateLimit, "",
                            numbers[index])) {
                return false;
            }
        }
        const View view{argv[first],
                        {numbers[0], numbers[1], numbers[2]},
                        {numbers[3], numbers[4], numbers[5]}};
        // The picture is upright with world y up, which a view straight up or down leaves
        // undefined.
        if (view.direction.x == 0.0f && view.direction.z == 0.0f) {
            std::fprintf(stderr, "the direction of view %zu needs DIR_X or DIR_Z other than 0\n",
                         views.size() + 1);
            return false;
        }
        views.push_back(view);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 8 || (argc - 1) % 7 != 0) {
        usage();
        if (argc == 2 && std::string(argv[1]) == "--help") {
            return 0;
        }
        std::fprintf(stderr, "quiverfall-preview needs seven arguments a view, not %d\n", argc - 1);
        return 2;
    }
    std::vector<View> views;
    if (!readViews(argc, argv, views)) {
        return 2;
    }
    // The paths given are where the tool was started; the models may be elsewhere.
    for (View& view : views) {
        view.path = std::filesystem::absolute(view.path).string();
    }
    enterDataFolder();
    if (createHiddenWindow("quiverfall-preview") == nullptr) {
        return 1;
    }

    bool rendered = false;
    if (std::unique_ptr<ShaderProgram> program = buildUnlitProgram()) {
        std::vector<Mesh*> meshes;
        rendered = renderViews(views, *program, meshes);
        for (Mesh* mesh : meshes) {
            delete mesh;
        }
    }
    glfwTerminate();
    return rendered ? 0 : 1;
}
