// Mesh buffers, attribute wiring for both programs, the draw's vertex count and clean-up.
#include "assets/Mesh.h"
#include "render/ShaderProgram.h"
#include "support/DrawCapture.h"
#include "support/DrawPrograms.h"
#include "support/GlTestUtil.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class MeshTest : public DrawProgramsTest {
  protected:
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // `triangles` triangles, one vertex per corner.
    static std::unique_ptr<Mesh> makeMesh(int triangles, bool withUvs = true, GLuint texture = 0) {
        std::vector<GLushort> indices;
        std::vector<glm::vec3> positions;
        std::vector<glm::vec2> uvs;
        std::vector<glm::vec3> normals;
        for (int i = 0; i < triangles * 3; ++i) {
            indices.push_back(static_cast<GLushort>(i));
            positions.emplace_back(static_cast<float>(i % 3 == 1), static_cast<float>(i % 3 == 2),
                                   0.0f);
            uvs.emplace_back(0.0f, 0.0f);
            normals.emplace_back(0.0f, 0.0f, 1.0f);
        }
        if (!withUvs) {
            uvs.clear();
        }
        return std::make_unique<Mesh>(indices, positions, uvs, normals, texture);
    }

    static GLint attribute(GLint location, GLenum parameter) {
        GLint value = 0;
        glGetVertexAttribiv(static_cast<GLuint>(location), parameter, &value);
        return value;
    }
};

TEST_F(MeshTest, ConstructionMakesNoGlObjects) {
    const auto mesh = makeMesh(2);
    EXPECT_EQ(mesh->vao(), 0u);
    EXPECT_EQ(mesh->positionBuffer(), 0u);
    EXPECT_EQ(mesh->vertexCount(), 6);
}

// Each attribute reads its own buffer: a mix-up shows in every picture of the demo, but this
// names it. The depth program's "position" shares the shading program's slot, so binding both
// programs clobbers nothing.
TEST_F(MeshTest, BothBindingsWireTheirAttributesIntoOneVertexArray) {
    const auto mesh = makeMesh(2);
    mesh->bindShadingProgram(*shading);
    mesh->bindDepthProgram(*depth);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(depth->programId()));
    EXPECT_EQ(glInteger(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(glGetAttribLocation(depth->programId(), "position"), mesh->positionLocation());

    glBindVertexArray(mesh->vao());
    const struct {
        GLint location;
        GLuint buffer;
        GLint size;
    } expected[] = {{mesh->positionLocation(), mesh->positionBuffer(), 3},
                    {mesh->normalLocation(), mesh->normalBuffer(), 3},
                    {mesh->uvLocation(), mesh->uvBuffer(), 2}};
    for (const auto& attributeState : expected) {
        ASSERT_NE(attributeState.location, -1);
        EXPECT_EQ(attribute(attributeState.location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), 1);
        EXPECT_EQ(attribute(attributeState.location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
                  static_cast<GLint>(attributeState.buffer));
        EXPECT_EQ(attribute(attributeState.location, GL_VERTEX_ATTRIB_ARRAY_SIZE),
                  attributeState.size);
    }
    glBindVertexArray(0);
}

TEST_F(MeshTest, MeshWithoutUvsGetsNoUvBufferAndLeavesUvDisabled) {
    const auto mesh = makeMesh(1, false);
    mesh->bindShadingProgram(*shading);
    EXPECT_EQ(mesh->uvBuffer(), 0u);
    glBindVertexArray(mesh->vao());
    EXPECT_EQ(attribute(mesh->uvLocation(), GL_VERTEX_ATTRIB_ARRAY_ENABLED), 0);
    glBindVertexArray(0);
}

// The depth pass may come first: it creates the buffers then, saying so once, and never again
// after the shading binding.
TEST_F(MeshTest, DepthBindingCreatesBuffersOnlyForAnUnboundMeshAndSaysSoOnce) {
    const auto unbound = makeMesh(1);
    const auto bound = makeMesh(1);
    bound->bindShadingProgram(*shading);
    const GLuint vao = bound->vao();
    ::testing::internal::CaptureStdout();
    unbound->bindDepthProgram(*depth);
    unbound->bindDepthProgram(*depth);
    bound->bindDepthProgram(*depth);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "buffer generated for depth shader, because not yet initialized\n");
    EXPECT_NE(unbound->vao(), 0u);
    EXPECT_NE(unbound->positionBuffer(), 0u);
    EXPECT_EQ(bound->vao(), vao);
}

// Triangles the GL actually assembled for one draw of `mesh`.
GLuint trianglesDrawn(const Mesh& mesh) {
    return trianglesDrawnBy([&mesh] { mesh.draw(); });
}

TEST_F(MeshTest, DrawIssuesOneVertexPerIndexAndBindsTheTextureOnUnitZero) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    const auto mesh = makeMesh(300, true, texture);
    mesh->bindShadingProgram(*shading);
    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ(trianglesDrawn(*mesh), 300u);
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture));
    EXPECT_EQ(glInteger(GL_VERTEX_ARRAY_BINDING), 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);
}

TEST_F(MeshTest, DrawNeverReadsPastTheVertexBuffers) {
    // Six indices over three vertices: a model whose faces share vertices.
    Mesh mesh({0, 1, 2, 2, 1, 0}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {},
              {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, 0);
    mesh.bindShadingProgram(*shading);
    EXPECT_EQ(mesh.vertexCount(), 6);
    EXPECT_EQ(mesh.drawnVertexCount(), 3);
    EXPECT_EQ(trianglesDrawn(mesh), 1u);

    Mesh fewNormals({0, 1, 2, 3, 4, 5}, std::vector<glm::vec3>(6), {}, std::vector<glm::vec3>(3),
                    0);
    fewNormals.bindShadingProgram(*shading);
    EXPECT_EQ(fewNormals.drawnVertexCount(), 3);
}

TEST_F(MeshTest, EmptyMeshDrawsNothing) {
    Mesh mesh({}, {}, {}, {}, 0);
    mesh.bindShadingProgram(*shading);
    mesh.bindDepthProgram(*depth);
    EXPECT_EQ(mesh.indexBuffer(), 0u);
    EXPECT_EQ(trianglesDrawn(mesh), 0u);
}

TEST_F(MeshTest, DestructionDeletesTheBuffersAndLeavesTheTexture) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    auto mesh = makeMesh(1, true, texture);
    mesh->bindShadingProgram(*shading);
    const GLuint vao = mesh->vao();
    const GLuint buffers[] = {mesh->positionBuffer(), mesh->normalBuffer(), mesh->uvBuffer(),
                              mesh->indexBuffer()};
    mesh.reset();
    EXPECT_FALSE(glIsVertexArray(vao));
    for (GLuint buffer : buffers) {
        EXPECT_FALSE(glIsBuffer(buffer)) << buffer;
    }
    EXPECT_TRUE(glIsTexture(texture));
    glDeleteTextures(1, &texture);
}

TEST_F(MeshTest, BindingTwiceReleasesTheFirstBindingsObjects) {
    const auto mesh = makeMesh(1);
    mesh->bindShadingProgram(*shading);
    const GLuint firstVao = mesh->vao();
    const GLuint firstPositions = mesh->positionBuffer();
    mesh->bindShadingProgram(*shading);
    EXPECT_NE(mesh->vao(), 0u);
    EXPECT_FALSE(glIsVertexArray(firstVao) && firstVao != mesh->vao());
    EXPECT_FALSE(glIsBuffer(firstPositions) && firstPositions != mesh->positionBuffer());
}

} // namespace
