// The bloom chain: bindings each pass leaves behind, and what the blur and composite compute.
#include "render/PostProcessing.h"
#include "render/ShaderProgram.h"
#include "support/GlTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int width = PostProcessing::width;
constexpr int height = PostProcessing::height;

size_t texelIndex(int x, int y) {
    return (static_cast<size_t>(y) * width + x) * 3;
}

class PostProcessingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        compositeProgram =
            demoProgram("./Shader/postProcess.vert", "./Shader/postProcess.frag").release();
        blurProgram =
            demoProgram("./Shader/postProcess.vert", "./Shader/blurShader.frag").release();
    }
    static void TearDownTestSuite() {
        delete compositeProgram;
        delete blurProgram;
    }

    void SetUp() override {
        post = std::make_unique<PostProcessing>(*compositeProgram, *blurProgram);
        glViewport(0, 0, width, height);
    }
    void TearDown() override {
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
        glUseProgram(0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    void fillTexture(GLuint texture, float value) {
        writeTextureRgb(texture, width, height,
                        std::vector<float>(static_cast<size_t>(width) * height * 3, value));
    }

    // One bright texel in the bloom source image, everything else black. Only the texel is
    // written: a full-image upload would cost more than the blur's passes.
    void putBrightSpot(int x, int y, GLfloat value) {
        const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        glBindFramebuffer(GL_FRAMEBUFFER, post->sceneFramebuffer());
        glClearBufferfv(GL_COLOR, 1, black);
        const GLfloat spot[3] = {value, value, value};
        glBindTexture(GL_TEXTURE_2D, post->sceneTexture(1));
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, 1, 1, GL_RGB, GL_FLOAT, spot);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // The window's pixel at (x, y) after a composite, as 8-bit RGB.
    static std::vector<unsigned char> windowPixel(int x, int y) {
        std::vector<unsigned char> rgb(3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    static inline ShaderProgram* compositeProgram = nullptr;
    static inline ShaderProgram* blurProgram = nullptr;
    std::unique_ptr<PostProcessing> post;
};

TEST_F(PostProcessingTest, ConstructionLeavesTheSceneFramebufferBoundWithTwoDrawBuffers) {
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(post->sceneFramebuffer()));
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
}

TEST_F(PostProcessingTest, BlurReadsThisFramesBloomImageWhateverUnitWasLeftActive) {
    post->bloom = true;
    putBrightSpot(100, 100, 50.0f);
    post->blur();
    putBrightSpot(400, 300, 50.0f);
    // Something else on unit 0, and another unit active, as a room draw without meshes leaves it.
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, post->sceneTexture(0));
    fillTexture(post->sceneTexture(0), 7.0f);
    glActiveTexture(GL_TEXTURE2);
    post->blur();
    EXPECT_TRUE(post->horizontal());
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(post->pingpongFramebuffer(0)));
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(blurProgram->programId()));
    const std::vector<float> result = readTextureRgb(post->pingpongTexture(0), width, height);
    EXPECT_GT(result[texelIndex(400, 300)], 0.0f);
    EXPECT_EQ(result[texelIndex(100, 100)], 0.0f) << "an earlier blur leaked into this one";
    EXPECT_EQ(result[texelIndex(1200, 700)], 0.0f) << "the blur read another texture";
}

// The ten-fold convolution of (0.4, 0.2, 0.4) at offsets 0 to 10 (it is symmetric), worked out
// exactly with Python's fractions: every value is an integer over 5^10, so the decimals below are
// exact. They add up to 1 over -10..10; everything further out is 0.
const double tenPassProfile[11] = {
    0.1386259456, 0.129665024, 0.110118912, 0.081297408, 0.054214656,  0.0307101696,
    0.015532032,  0.006291456, 0.002228224, 0.000524288, 0.0001048576,
};

// Compares the light per column (or row), indexed from -reach, with `spot` times the ten-pass
// profile. Each pass stores half floats (11 significant bits), which may lose up to one unit in
// the last place, at most 2^-10 of a value: twenty passes stay within 2% (this GL rounds toward
// zero and loses about 0.5%), while weights that add up to 1.01 would already gain 22%. Ten
// three-tap passes cannot reach beyond 10 texels: any light there means a wider kernel or more
// passes.
testing::AssertionResult isTenPassProfile(const std::vector<double>& light, double spot,
                                          const char* axis) {
    const int reach = static_cast<int>(light.size() / 2);
    for (int distance = 0; distance <= reach; ++distance) {
        for (const int offset : {-distance, distance}) {
            const double expected = distance <= 10 ? spot * tenPassProfile[distance] : 0.0;
            const double measured = light[static_cast<size_t>(offset + reach)];
            if (std::abs(measured - expected) > 0.02 * expected) {
                return testing::AssertionFailure()
                       << "the light " << offset << " texels from the spot along " << axis << " is "
                       << measured << ", expected " << expected
                       << ": not ten passes of (0.4, 0.2, 0.4) along " << axis;
            }
        }
    }
    return testing::AssertionSuccess();
}

// The blur judged only by what it makes of one bright texel. Twenty passes that take turns
// between the axes, each weighting the texels at -1, 0 and +1 by 0.4, 0.2 and 0.4, spread the
// texel into the ten-fold convolution of that kernel along each axis, one axis at a time.
TEST_F(PostProcessingTest, BlurSpreadsASpotIntoTenPassesOfItsKernelAlongEachAxisInTurn) {
    constexpr int spotX = 800;
    constexpr int spotY = 450;
    // Ten passes per axis reach 10 texels. The window reaches twice as far, so that a chain that
    // blurs one axis twenty times still shows all of its light.
    constexpr int reach = 24;
    constexpr int side = 2 * reach + 1;
    // Large enough that the faintest texels (about 1e-8 of the spot) stay representable in the
    // half-float targets, small enough that no pass comes near the half-float maximum of 65504.
    constexpr GLfloat spotValue = 1000.0f;

    putBrightSpot(spotX, spotY, spotValue);
    post->bloom = true;
    post->blur();
    // The texture the composite binds, whichever ping-pong framebuffer holds it.
    const std::vector<float> result =
        readTextureRgb(post->pingpongTexture(post->horizontal() ? 0 : 1), width, height);
    const auto at = [&result](int dx, int dy) -> double {
        return result[texelIndex(spotX + dx, spotY + dy)];
    };

    // The light per column and per row: the profile along x and along y.
    std::vector<double> columns(side, 0.0);
    std::vector<double> rows(side, 0.0);
    double light = 0.0;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            columns[dx + reach] += at(dx, dy);
            rows[dy + reach] += at(dx, dy);
            light += at(dx, dy);
        }
    }
    EXPECT_TRUE(isTenPassProfile(columns, spotValue, "x"));
    EXPECT_TRUE(isTenPassProfile(rows, spotValue, "y"));
    ASSERT_GT(light, 0.0) << "the blurred texture is black around the spot";

    // Each texel is the product of its column's and its row's share: the passes blur one axis
    // at a time. The roundings are not separable; they stay near 0.05% of the brightest texel,
    // and the tolerance is 0.2%.
    double worst = 0.0;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            worst = std::max(worst,
                             std::abs(at(dx, dy) - columns[dx + reach] * rows[dy + reach] / light));
        }
    }
    EXPECT_LE(worst, 0.002 * at(0, 0))
        << "the blurred spot is not the product of its row and column profiles: a pass mixed both "
           "axes";
}

// The display's response, worked by hand: Narkowicz's fit of the ACES filmic curve,
// f(x) = x (2.51 x + 0.03) / (x (2.43 x + 0.59) + 0.14), at exposure 1, then the 2.2 gamma of a
// display, 255 f(x)^(1 / 2.2): radiance 0.05 gives 61.8, 0.5 gives 204.6 and 2 gives 244.9. A
// gamma of 2.0 or 2.4 moves the middle value by 4 levels or more, an exposure 10% off by 5, a
// plain Reinhard curve x / (1 + x) by 50, and two gammas in a row by 26.
TEST_F(PostProcessingTest, CompositeMapsRadianceThroughTheFilmicCurveAndTheDisplaysGamma) {
    post->bloom = false;
    const struct {
        float radiance;
        double level;
    } points[] = {{0.05f, 61.8}, {0.5f, 204.6}, {2.0f, 244.9}};
    for (const auto& point : points) {
        fillTexture(post->sceneTexture(0), point.radiance);
        post->composite(0);
        const std::vector<unsigned char> pixel = windowPixel(400, 300);
        // The conversion to 8 bits rounds; a level either way.
        EXPECT_NEAR(pixel[0], point.level, 1.0) << "radiance " << point.radiance;
        EXPECT_EQ(pixel, std::vector<unsigned char>(3, pixel[0]))
            << "a grey radiance came out coloured";
    }
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(compositeProgram->programId()));
}

// Bloom adds part of the blurred image, and only while it is on: neither all of it (halos would
// outshine what glows) nor so little that it hardly shows. Over a black scene, a blurred image of
// 0.5 shows between what radiance 0.125 and radiance 0.5 give (114.2 and 204.6, worked as above).
TEST_F(PostProcessingTest, CompositeAddsBetweenAQuarterAndAllOfTheBlurredImageOnlyWithBloomOn) {
    fillTexture(post->sceneTexture(0), 0.0f);
    fillTexture(post->pingpongTexture(0), 0.5f);
    post->bloom = false;
    post->composite(0);
    EXPECT_EQ(windowPixel(400, 300), (std::vector<unsigned char>{0, 0, 0}));
    post->bloom = true;
    post->composite(0);
    const std::vector<unsigned char> pixel = windowPixel(400, 300);
    EXPECT_GT(pixel[0], 114);
    EXPECT_LT(pixel[0], 204);
}

} // namespace
