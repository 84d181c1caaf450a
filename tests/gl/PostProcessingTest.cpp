// The bloom chain: bindings each pass leaves behind, and what the blur and composite compute.
#include "render/PostProcessing.h"
#include "render/ShaderProgram.h"
#include "support/GlTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

namespace {

constexpr int width = PostProcessing::width;
constexpr int height = PostProcessing::height;

size_t texelIndex(int x, int y) { return (static_cast<size_t>(y) * width + x) * 3; }

class PostProcessingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        compositeProgram =
            new ShaderProgram("./Shader/postProcess.vert", "./Shader/postProcess.frag");
        blurProgram = new ShaderProgram("./Shader/postProcess.vert", "./Shader/blurShader.frag");
    }
    static void TearDownTestSuite() {
        delete compositeProgram;
        delete blurProgram;
    }

    void SetUp() override {
        post = std::make_unique<PostProcessing>(*compositeProgram, *blurProgram);
        glViewport(0, 0, width, height);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // One bright texel in the bloom source image, everything else black.
    void putBrightSpot(int x, int y, float value) {
        std::vector<float> image(static_cast<size_t>(width) * height * 3, 0.0f);
        image[texelIndex(x, y)] = value;
        image[texelIndex(x, y) + 1] = value;
        image[texelIndex(x, y) + 2] = value;
        writeTextureRgb(post->sceneTexture(1), width, height, image);
    }

    static ShaderProgram* compositeProgram;
    static ShaderProgram* blurProgram;
    std::unique_ptr<PostProcessing> post;
};

ShaderProgram* PostProcessingTest::compositeProgram = nullptr;
ShaderProgram* PostProcessingTest::blurProgram = nullptr;

TEST_F(PostProcessingTest, ConstructionLeavesTheSceneFramebufferBoundWithTwoDrawBuffers) {
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(post->sceneFramebuffer()));
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
}

TEST_F(PostProcessingTest, BlurEndsWithHorizontalTrueAndTheResultInPingpongZero) {
    post->bloom = true;
    putBrightSpot(800, 450, 100.0f);
    glActiveTexture(GL_TEXTURE0);
    post->blur();
    EXPECT_TRUE(post->horizontal());
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING),
              static_cast<GLint>(post->pingpongFramebuffer(0)));
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(blurProgram->programId()));

    const std::vector<float> result = readTextureRgb(post->pingpongTexture(0), width, height);
    // The spot is spread: the centre keeps a small share and texels 6 away still get light.
    EXPECT_LT(result[texelIndex(800, 450)], 10.0f);
    EXPECT_GT(result[texelIndex(800, 450)], 0.0f);
    EXPECT_GT(result[texelIndex(806, 450)], 0.0f);
    EXPECT_GT(result[texelIndex(800, 456)], 0.0f);
    EXPECT_GT(result[texelIndex(804, 454)], 0.0f);
    // Symmetric about the spot in both axes.
    EXPECT_NEAR(result[texelIndex(803, 450)], result[texelIndex(797, 450)], 1e-3f);
    EXPECT_NEAR(result[texelIndex(800, 453)], result[texelIndex(800, 447)], 1e-3f);
    // A normalised kernel keeps the total energy (half floats round a little).
    float total = 0.0f;
    for (size_t i = 0; i < result.size(); i += 3) {
        total += result[i];
    }
    EXPECT_NEAR(total, 100.0f, 2.0f);
}

TEST_F(PostProcessingTest, BlurStartsFromTheBloomImageOfThisFrame) {
    post->bloom = true;
    putBrightSpot(100, 100, 50.0f);
    post->blur();
    putBrightSpot(1500, 800, 50.0f);
    post->blur();
    const std::vector<float> result = readTextureRgb(post->pingpongTexture(0), width, height);
    EXPECT_EQ(result[texelIndex(100, 100)], 0.0f) << "an earlier blur leaked into this one";
    EXPECT_GT(result[texelIndex(1500, 800)], 0.0f);
}

TEST_F(PostProcessingTest, BlurReadsTheBloomImageWhateverUnitWasLeftActive) {
    post->bloom = true;
    putBrightSpot(400, 300, 50.0f);
    // Something else on unit 0, and another unit active, as a room draw without meshes leaves it.
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, post->sceneTexture(0));
    writeTextureRgb(post->sceneTexture(0), width, height,
                    std::vector<float>(static_cast<size_t>(width) * height * 3, 7.0f));
    glActiveTexture(GL_TEXTURE2);
    post->blur();
    const std::vector<float> result = readTextureRgb(post->pingpongTexture(0), width, height);
    EXPECT_GT(result[texelIndex(400, 300)], 0.0f);
    EXPECT_EQ(result[texelIndex(1200, 700)], 0.0f) << "the blur read another texture";
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(PostProcessingTest, BlurWithBloomOffChangesNoBinding) {
    post->bloom = false;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(compositeProgram->programId());
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, post->sceneTexture(0));
    post->blur();
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(compositeProgram->programId()));
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(post->sceneTexture(0)));
    EXPECT_TRUE(post->horizontal());
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
}

class CompositeTest : public PostProcessingTest {
  protected:
    // The window's pixel at (x, y) after a composite, as 8-bit RGB.
    std::vector<unsigned char> windowPixel(int x, int y) {
        std::vector<unsigned char> rgb(3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    void fillTexture(GLuint texture, float value) {
        writeTextureRgb(texture, width, height,
                        std::vector<float>(static_cast<size_t>(width) * height * 3, value));
    }
};

TEST_F(CompositeTest, DrawsIntoTheWindowWithUnitOneActive) {
    fillTexture(post->sceneTexture(0), 0.5f);
    post->bloom = false;
    post->composite();
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(compositeProgram->programId()));
    const std::vector<unsigned char> pixel = windowPixel(10, 10);
    // Mid-grey radiance maps to a clearly lit, neutral pixel after tone mapping and gamma.
    EXPECT_GT(pixel[0], 100);
    EXPECT_LT(pixel[0], 250);
    EXPECT_EQ(pixel[0], pixel[1]);
    EXPECT_EQ(pixel[1], pixel[2]);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(CompositeTest, AddsTheBlurredImageOnlyWhenBloomIsOn) {
    fillTexture(post->sceneTexture(0), 0.0f);
    fillTexture(post->pingpongTexture(0), 2.0f);

    post->bloom = false;
    post->composite();
    const std::vector<unsigned char> withoutBloom = windowPixel(800, 450);
    EXPECT_EQ(withoutBloom, (std::vector<unsigned char>{0, 0, 0}));

    post->bloom = true;
    post->composite();
    const std::vector<unsigned char> withBloom = windowPixel(800, 450);
    EXPECT_GT(withBloom[0], 100);
    glActiveTexture(GL_TEXTURE0);
}

} // namespace
