#include "render/ShadowMap.h"

#include "render/ShaderProgram.h"
#include "render/TextureParameters.h"
#include "scene/SceneObject.h"

ShadowMap::ShadowMap(const ShaderProgram& shadowProgram) : shadowProgram_(shadowProgram) {
    glGenFramebuffers(1, &shadowFramebuffer_);
    glGenTextures(1, &depthTexture_);

    glBindTexture(GL_TEXTURE_2D, depthTexture_);
    // Unsigned int: the upload type WebGL2 accepts for a 24-bit depth texture (no data is sent).
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, size, size, 0, GL_DEPTH_COMPONENT,
                 GL_UNSIGNED_INT, nullptr);
    setTextureParameters(GL_LINEAR, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);

    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer_);
    // The forms of these two calls that WebGL2 offers too.
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthTexture_, 0);
    const GLenum noColour = GL_NONE;
    glDrawBuffers(1, &noColour);
    glUseProgram(0);
}

void ShadowMap::render(const std::vector<SceneObject*>& objects,
                       const glm::mat4& lightViewProjection) {
    const GLuint program = shadowProgram_.programId();
    glUseProgram(program);
    glViewport(0, 0, size, size);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer_);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (SceneObject* object : objects) {
        const glm::mat4 lightMVP = lightViewProjection * object->modelMatrix;
        glUniformMatrix4fv(glGetUniformLocation(program, "lightMVP"), 1, GL_FALSE, &lightMVP[0][0]);
        object->drawGeometry();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
}
