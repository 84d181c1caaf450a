// Base of the GL test suites that draw meshes: the demo's standard shading and depth programs,
// built once per suite from their files and deleted with it.
#pragma once

#include "support/GlTestUtil.h"

#include <gtest/gtest.h>

class DrawProgramsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shading =
            demoProgram("./Shader/standardShading.vert", "./Shader/standardShading.frag").release();
        depth = demoProgram("./Shader/shadowMap.vert", "./Shader/shadowMap.frag").release();
    }
    static void TearDownTestSuite() {
        delete shading;
        shading = nullptr;
        delete depth;
        depth = nullptr;
    }

    static inline ShaderProgram* shading = nullptr;
    static inline ShaderProgram* depth = nullptr;
};
