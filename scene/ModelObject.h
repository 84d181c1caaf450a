// What the room and the arrows share: meshes imported from one model file, bound to the shading
// and depth programs, drawn into the scene framebuffer with both shadow maps.
#pragma once

#include "scene/SceneObject.h"

#include <vector>

class Mesh;
class ShaderProgram;

class ModelObject : public SceneObject {
  public:
    ~ModelObject() override;

    void drawGeometry() override;
    // Binds every mesh to the shading program, then to the depth program.
    virtual void bindPrograms();

    const std::vector<Mesh*>& meshes() const { return meshes_; }
    GLuint targetFramebuffer() const { return targetFramebuffer_; }

  protected:
    // Imports `modelPath` and binds the meshes to both programs. A file that cannot be read
    // leaves the object without meshes: it then draws nothing.
    ModelObject(const glm::mat4& modelMatrix, const ShaderProgram* shadingProgram,
                const ShaderProgram* depthProgram, const char* modelPath, GLuint targetFramebuffer);

    // Puts the shadow maps on units 1 and 2 with their sampler uniforms and uploads the
    // matrices that map into each map; returns the main light's ("lightBiasMVP").
    glm::mat4 bindShadowMaps(const glm::mat4& fireMVP, const glm::mat4& lightMVP,
                             GLuint fireShadowTexture, GLuint mainShadowTexture) const;
    // Uploads "cameraShadowCoord": the camera position `cameraPosition` (in the space
    // `lightBiasMVP` maps from) expressed in the main light's shadow-map texture space.
    void uploadCameraShadowCoord(const glm::mat4& lightBiasMVP,
                                 const glm::vec3& cameraPosition) const;
    void uploadMatrix(const char* name, const glm::mat4& matrix) const;
    // Each mesh with its texture on unit 0; the sampler uniform follows every draw.
    void drawMeshes() const;

    const ShaderProgram* shadingProgram_;
    const ShaderProgram* depthProgram_;
    std::vector<Mesh*> meshes_;
    GLuint targetFramebuffer_;
};
