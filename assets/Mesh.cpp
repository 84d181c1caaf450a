#include "assets/Mesh.h"

#include "render/ShaderProgram.h"

#include <algorithm>
#include <iostream>

namespace {

template <typename T> GLuint uploadArrayBuffer(const std::vector<T>& data) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

// Binds `buffer`, looks `name` up in `program` and, when both exist, describes the attribute.
GLint connectAttribute(GLuint program, const char* name, GLuint buffer, GLint size) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLint location = glGetAttribLocation(program, name);
    if (location != -1 && buffer != 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    return location;
}

void unbindAll() {
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

} // namespace

Mesh::Mesh(std::vector<GLushort> indices, std::vector<glm::vec3> positions,
           std::vector<glm::vec2> uvs, std::vector<glm::vec3> normals, GLuint texture)
    : indices_(std::move(indices)), positions_(std::move(positions)), uvs_(std::move(uvs)),
      normals_(std::move(normals)), texture_(texture) {}

Mesh::~Mesh() {
    releaseBuffers();
}

void Mesh::releaseBuffers() {
    glDeleteBuffers(1, &positionBuffer_);
    glDeleteBuffers(1, &uvBuffer_);
    glDeleteBuffers(1, &normalBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(1, &vao_);
    positionBuffer_ = uvBuffer_ = normalBuffer_ = indexBuffer_ = vao_ = 0;
}

void Mesh::uploadPositions() {
    positionBuffer_ = uploadArrayBuffer(positions_);
}

void Mesh::bindShadingProgram(const ShaderProgram& program) {
    // A second binding starts from scratch instead of leaking the first one's GL objects.
    releaseBuffers();
    uploadPositions();
    if (!uvs_.empty()) {
        uvBuffer_ = uploadArrayBuffer(uvs_);
    }
    if (!normals_.empty()) {
        normalBuffer_ = uploadArrayBuffer(normals_);
    }
    if (!indices_.empty()) {
        glGenBuffers(1, &indexBuffer_);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(indices_.size() * sizeof(GLushort)), indices_.data(),
                     GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }

    const GLuint id = program.programId();
    glUseProgram(id);
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    positionLocation_ = connectAttribute(id, "position", positionBuffer_, 3);
    normalLocation_ = connectAttribute(id, "normal", normalBuffer_, 3);
    uvLocation_ = connectAttribute(id, "uv", uvBuffer_, 2);
    unbindAll();
}

void Mesh::bindDepthProgram(const ShaderProgram& depthProgram) {
    if (vao_ == 0) {
        glGenVertexArrays(1, &vao_);
    }
    glBindVertexArray(vao_);
    const GLuint id = depthProgram.programId();
    glUseProgram(id);
    if (positionBuffer_ == 0) {
        uploadPositions();
        std::cout << "buffer generated for depth shader, because not yet initialized" << std::endl;
    }
    connectAttribute(id, "position", positionBuffer_, 3);
    unbindAll();
}

GLsizei Mesh::drawnVertexCount() const {
    // The draw is non-indexed: a model whose faces share vertices would make the index count
    // exceed the vertex arrays, and GL would read past the buffers.
    size_t count = std::min(indices_.size(), positions_.size());
    if (normalBuffer_ != 0 && normalLocation_ != -1) {
        count = std::min(count, normals_.size());
    }
    if (uvBuffer_ != 0 && uvLocation_ != -1) {
        count = std::min(count, uvs_.size());
    }
    return static_cast<GLsizei>(count);
}

void Mesh::draw() const {
    glBindVertexArray(vao_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glDrawArrays(GL_TRIANGLES, 0, drawnVertexCount());
    glBindVertexArray(0);
}
