// One drawable part of a model: vertex lists in memory, their GL buffers and vertex array, and the
// diffuse texture to draw it with.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <vector>

class ShaderProgram;

class Mesh {
  public:
    // No GL call is made here; the buffers are created by the bind operations.
    Mesh(std::vector<GLushort> indices, std::vector<glm::vec3> positions,
         std::vector<glm::vec2> uvs, std::vector<glm::vec3> normals, GLuint texture);
    ~Mesh();

    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Uploads the lists and connects "position", "normal" and "uv" of the shading program to a
    // new vertex array.
    void bindShadingProgram(const ShaderProgram& program);
    // Connects the depth program's "position" to the same vertex array, creating the vertex array
    // and the position buffer first when the mesh was never bound to the shading program.
    void bindDepthProgram(const ShaderProgram& depthProgram);

    // The draw every pass uses: vertex array, texture on unit 0, a plain triangle list.
    void draw() const;

    // Number of entries in the index list: the vertices a draw asks for.
    GLsizei vertexCount() const { return static_cast<GLsizei>(indices_.size()); }
    // The vertices a draw actually issues: never more than every enabled buffer holds.
    GLsizei drawnVertexCount() const;

    GLuint vao() const { return vao_; }
    GLuint texture() const { return texture_; }
    GLuint positionBuffer() const { return positionBuffer_; }
    GLuint normalBuffer() const { return normalBuffer_; }
    GLuint uvBuffer() const { return uvBuffer_; }
    GLuint indexBuffer() const { return indexBuffer_; }
    GLint positionLocation() const { return positionLocation_; }
    GLint normalLocation() const { return normalLocation_; }
    GLint uvLocation() const { return uvLocation_; }
    const std::vector<glm::vec3>& positions() const { return positions_; }
    const std::vector<glm::vec3>& normals() const { return normals_; }
    const std::vector<glm::vec2>& uvs() const { return uvs_; }
    const std::vector<GLushort>& indices() const { return indices_; }

  private:
    void uploadPositions();
    void releaseBuffers();

    std::vector<GLushort> indices_;
    std::vector<glm::vec3> positions_;
    GLuint vao_ = 0;
    GLuint positionBuffer_ = 0;
    GLuint normalBuffer_ = 0;
    GLuint uvBuffer_ = 0;
    GLuint indexBuffer_ = 0;
    GLint positionLocation_ = -1;
    GLint normalLocation_ = -1;
    GLint uvLocation_ = -1;
    std::vector<glm::vec2> uvs_;
    std::vector<glm::vec3> normals_;
    GLuint texture_ = 0;
};
