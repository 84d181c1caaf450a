#include "app/SceneSetup.h"

#include "app/Camera.h"
#include "app/DataFolder.h"
#include "app/FatalError.h"
#include "app/FireLight.h"
#include "app/Globals.h"
#include "render/FrameSize.h"
#include "render/LastPicture.h"
#include "render/PostProcessing.h"
#include "render/ShaderProgram.h"
#include "render/ShadowMap.h"
#include "scene/Arrow.h"
#include "scene/ArrowVolley.h"
#include "scene/Scene.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr float cameraFieldOfView = 0.7853982f;
constexpr float lightFieldOfView = 1.7453293f;
constexpr float nearPlane = 1.0f;
constexpr float farPlane = 100.0f;

// A shader program the demo cannot run without: a failure stops the program with the failure's
// message, as every start-up failure does, and where no data folder was found, with where it
// was looked for.
ShaderProgram* requiredProgram(const char* vertexPath, const char* fragmentPath) {
    ShaderFailure failure;
    std::unique_ptr<ShaderProgram> program =
        ShaderProgram::fromFiles(vertexPath, fragmentPath, failure);
    if (program == nullptr) {
        const std::string advice = dataFolderAdvice();
        fatalError(advice.empty() ? failure.message : failure.message + "\n" + advice);
    }
    return program.release();
}

template <typename T> void destroy(T*& object) {
    delete object;
    object = nullptr;
}

} // namespace

void setUpScene(GLFWwindow* window) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glfwSetWindowTitle(window, "Quiverfall");

    standardShadingProgram =
        requiredProgram("./Shader/standardShading.vert", "./Shader/standardShading.frag");
    shadowMapProgram = requiredProgram("./Shader/shadowMap.vert", "./Shader/shadowMap.frag");
    postProcessProgram = requiredProgram("./Shader/postProcess.vert", "./Shader/postProcess.frag");
    blurShaderProgram = requiredProgram("./Shader/postProcess.vert", "./Shader/blurShader.frag");
    postProcessing = new PostProcessing(*postProcessProgram, *blurShaderProgram);
    lastPicture = new LastPicture(frameSize);
    scene = new Scene(glm::mat4(1.0f), standardShadingProgram, shadowMapProgram,
                      postProcessing->sceneFramebuffer());
    arrowVolley = new ArrowVolley(standardShadingProgram, shadowMapProgram,
                                  postProcessing->sceneFramebuffer());
    fireShadow = new ShadowMap(*shadowMapProgram);
    lightShadow = new ShadowMap(*shadowMapProgram);
    shadowCasters.push_back(scene);

    camera.position = glm::vec3(0.0f, 3.0f, -23.0f);
    camera.updateView();
    cameraProjection = glm::perspective(cameraFieldOfView, frameAspect, nearPlane, farPlane);

    const glm::vec3 lightColor(1.0f, 1.0f, 1.0f);
    const glm::vec3 lightPos(-14.5f, 6.0f, -7.5f);
    const glm::vec3 ambientLightColor(0.35f, 0.35f, 0.35f);
    lightProjection = glm::perspective(lightFieldOfView, frameAspect, nearPlane, farPlane);
    lightView =
        glm::lookAt(lightPos, lightPos + glm::vec3(1.0f, -0.4f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));

    const GLuint shading = standardShadingProgram->programId();
    glUseProgram(shading);
    glUniform3fv(glGetUniformLocation(shading, "lightColor"), 1, &lightColor[0]);
    glUniform3fv(glGetUniformLocation(shading, "ambientLightColor"), 1, &ambientLightColor[0]);
    glUniform3fv(glGetUniformLocation(shading, "lightPos_worldSpace"), 1, &lightPos[0]);
    glUseProgram(0);

    fireLight = new FireLight(glm::vec3(0.0f, 1.0f, -20.0f), standardShadingProgram);
    fireProjection = glm::perspective(lightFieldOfView, frameAspect, nearPlane, farPlane);

    glViewport(0, 0, frameWidth, frameHeight);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

void prepareFirstFrame() {
    glGetError();
    postProcessing->bloom = bloomEnabled;
    mainLightVP = lightProjection * lightView;
    fireLightVP = fireProjection * fireLight->fireView();
}

void releaseScene() {
    destroy(standardShadingProgram);
    destroy(scene);
    destroy(shadowMapProgram);
    destroy(arrowVolley);
    destroy(fireShadow);
    destroy(lightShadow);
    destroy(fireLight);
    destroy(postProcessProgram);
    destroy(blurShaderProgram);
    shadowCasters.clear();
    destroy(postProcessing);
    destroy(lastPicture);
}

DemoProgress demoProgress() {
    DemoProgress progress{camera, arrowVolley->timeline(), {}, fireLight->flickerState()};
    for (int i = 0; i < VolleyTimeline::arrowCount; ++i) {
        progress.arrowPlacements[i] = arrowVolley->arrows()[i]->modelMatrix;
    }
    return progress;
}

void rebuildScene(GLFWwindow* window, const DemoProgress& progress) {
    setUpScene(window);
    camera = progress.camera;
    arrowVolley->resume(progress.volley, progress.arrowPlacements);
    fireLight->resumeFlicker(progress.flicker);
    prepareFirstFrame();
    needsRedraw = true;
}
