// Loading images into textures: layout, orientation, colour conversion, filtering and failures.
#include "assets/TextureLoader.h"
#include "support/GlTestUtil.h"
#include "support/Process.h"
#include "support/ShadingProbe.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>

namespace {

// An 8-bit colour, red first.
using Rgb = std::array<int, 3>;
using Colours = std::function<Rgb(int x, int y)>;

Rgb grey(int level) {
    return {level, level, level};
}

// An 8-bit texel's level, back from the float GL reads it as.
int level(float value) {
    return static_cast<int>(std::lround(value * 255.0f));
}

// `image` with pixel (x, y) in colours(x, y), scanline 0 the bottom row, half transparent where
// the image has alpha.
FIBITMAP* painted(FIBITMAP* image, const Colours& colours) {
    for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
        for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x) {
            const Rgb c = colours(static_cast<int>(x), static_cast<int>(y));
            RGBQUAD colour{static_cast<BYTE>(c[2]), static_cast<BYTE>(c[1]),
                           static_cast<BYTE>(c[0]), 128};
            FreeImage_SetPixelColor(image, x, y, &colour);
        }
    }
    return image;
}

// An 8-bit image of `width` x `height` whose pixel (x, y) is entry index(x, y) of `palette`, or
// of FreeImage's own palette of 256 greys where `palette` is empty.
FIBITMAP* palettised(int width, int height, const std::vector<Rgb>& palette,
                     const std::function<int(int x, int y)>& index) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 8);
    for (size_t i = 0; i < palette.size(); ++i) {
        FreeImage_GetPalette(image)[i] =
            RGBQUAD{static_cast<BYTE>(palette[i][2]), static_cast<BYTE>(palette[i][1]),
                    static_cast<BYTE>(palette[i][0]), 0};
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE value = static_cast<BYTE>(index(x, y));
            FreeImage_SetPixelIndex(image, x, y, &value);
        }
    }
    return image;
}

const Colours gradient = [](int x, int y) { return Rgb{10 * x, 10 * y, 200}; };

class TextureLoaderTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    GLuint loadQuietly(const std::string& name, std::string& output) {
        ::testing::internal::CaptureStdout();
        const GLuint texture = loadTexture(path(name).c_str());
        output = ::testing::internal::GetCapturedStdout();
        return texture;
    }

    // Saves `image` and frees it.
    void save(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& name) {
        EXPECT_TRUE(FreeImage_Save(format, image, path(name).c_str(), 0)) << name;
        FreeImage_Unload(image);
    }

    // Saves `image` (and frees it) and loads it while another texture is bound, as when a
    // model's materials load one after another: the load must print nothing and leave no texture
    // bound.
    GLuint saveAndLoad(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& name) {
        save(image, format, name);
        GLuint other = 0;
        glGenTextures(1, &other);
        glBindTexture(GL_TEXTURE_2D, other);
        std::string output;
        const GLuint texture = loadQuietly(name, output);
        EXPECT_NE(texture, 0u) << output;
        EXPECT_EQ(output, "");
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0) << "loading " << name << " left a binding";
        glDeleteTextures(1, &other);
        return texture;
    }

    // Saves and loads `image`, and expects the texture to hold every pixel in colours(x, y),
    // bottom row first and at the image's size.
    void expectLoadedAs(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& name,
                        const Colours& colours) {
        SCOPED_TRACE(name);
        const int width = static_cast<int>(FreeImage_GetWidth(image));
        const int height = static_cast<int>(FreeImage_GetHeight(image));
        const GLuint texture = saveAndLoad(image, format, name);
        GLint size[2] = {0, 0};
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
        ASSERT_EQ(size[0], width);
        ASSERT_EQ(size[1], height);
        const std::vector<float> rgb = readTextureRgb(texture, width, height);
        glDeleteTextures(1, &texture);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const float* texel = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                ASSERT_EQ((Rgb{level(texel[0]), level(texel[1]), level(texel[2])}), colours(x, y))
                    << x << ", " << y;
            }
        }
    }

    TempDirectory dir;
};

// Every pixel layout FreeImage decodes arrives in the colours it has in the file, bottom row
// first and without skew.
TEST_F(TextureLoaderTest, EveryPixelLayoutArrivesInItsColours) {
    // 13 texels of 3 bytes leave each row 1 byte short of a multiple of 4.
    expectLoadedAs(painted(FreeImage_Allocate(13, 7, 24), gradient), FIF_PNG, "odd.png", gradient);
    const Colours withAlpha = [](int x, int y) { return Rgb{70 * y, 20, 50 * x}; };
    expectLoadedAs(painted(FreeImage_Allocate(3, 3, 32), withAlpha), FIF_PNG, "alpha.png",
                   withAlpha);

    expectLoadedAs(palettised(5, 3, {}, [](int x, int y) { return 40 * x + y; }), FIF_PNG,
                   "grey.png", [](int x, int y) { return grey(40 * x + y); });
    const std::vector<Rgb> twoColours = {{90, 60, 30}, {255, 128, 0}};
    expectLoadedAs(palettised(6, 2, twoColours, [](int x, int) { return x % 2; }), FIF_BMP,
                   "palette.bmp", [&](int x, int) { return twoColours[x % 2]; });

    // Channels at 0 or 255, which 5 and 6 bits hold exactly.
    const Colours primaries = [](int x, int y) { return Rgb{255 * (x % 2), 255 * (y % 2), 255}; };
    expectLoadedAs(painted(FreeImage_Allocate(4, 2, 16, FI16_565_RED_MASK, FI16_565_GREEN_MASK,
                                              FI16_565_BLUE_MASK),
                           primaries),
                   FIF_BMP, "rgb565.bmp", primaries);
    // 16-bit grey is scaled linearly from its darkest to its brightest value onto 0 to 255:
    // 0, 20000, 40000 and 60000 become 0, 85, 170 and 255.
    FIBITMAP* grey16 = FreeImage_AllocateT(FIT_UINT16, 4, 2);
    for (int y = 0; y < 2; ++y) {
        auto* row = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(grey16, y));
        for (int x = 0; x < 4; ++x) {
            row[x] = static_cast<unsigned short>(x * 20000);
        }
    }
    expectLoadedAs(grey16, FIF_PNG, "grey16.png", [](int x, int) { return grey(85 * x); });
}

// What a loaded texture shows as the shader sees it, through the program's own shading with the
// lights off: the texture's shade at each pixel, bottom row first, back from the shader's
// squaring into linear.
std::vector<double> shadesSeen(GLuint texture, int width, int height) {
    ShadingProbe shading;
    // Normals twice unit length: a glow of 1, so the scene colour is the texture's colour.
    const ShadingProbe::Target target = shading.shade(texture, 2.0f, width, height);
    std::vector<double> shades;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            shades.push_back(std::sqrt(target.sceneRed(x, y)));
        }
    }
    return shades;
}

// Texture filtering works in 8-bit steps here and the half-float target adds its own rounding.
constexpr double shadeTolerance = 2.0 / 255.0;

// Magnified, a texture is filtered linearly and repeats: a black and a white texel spread over 8
// pixels, along either axis. Pixel x samples texel coordinate (x + 0.5) / 4 - 0.5: pixels 2 to 5
// fall 0.125, 0.375, 0.625 and 0.875 of the way from the black texel's centre to the white
// one's, and pixels 0, 1, 6 and 7 reach past the edge into the repeated neighbour (texel -1 is
// the white one, texel 2 the black one). Filtered nearest, pixels 2 to 5 would be 0, 0, 1, 1;
// clamped to the edge, pixels 0 and 1 would be black and 6 and 7 white.
TEST_F(TextureLoaderTest, AMagnifiedTextureShowsTheShadesBetweenItsTexelsAndRepeats) {
    const std::vector<double> expected = {0.375, 0.125, 0.125, 0.375, 0.625, 0.875, 0.875, 0.625};
    for (const bool alongX : {true, false}) {
        SCOPED_TRACE(alongX ? "along x" : "along y");
        const int columns = alongX ? 2 : 1;
        const GLuint texture =
            saveAndLoad(painted(FreeImage_Allocate(columns, 3 - columns, 24),
                                [](int x, int y) { return grey((x + y) * 255); }),
                        FIF_PNG, alongX ? "row.png" : "column.png");
        const std::vector<double> shades = shadesSeen(texture, alongX ? 8 : 1, alongX ? 1 : 8);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(shades[i], expected[i], shadeTolerance) << "pixel " << i;
        }
        glDeleteTextures(1, &texture);
    }
}

// Minified, a texture shows its average, not whichever texels fall under the pixel: a 16x16
// black image with a white 4x4 corner, drawn into one pixel, is 16 / 256 = 1/16 grey (the 1x1
// level of its mipmaps). Sampled from the full image without mipmaps, the pixel's centre falls
// on black texels and it would be black; a pixel that flickers between the two as the camera
// moves is what a user sees of that.
TEST_F(TextureLoaderTest, AMinifiedTextureShowsItsAverage) {
    const GLuint texture =
        saveAndLoad(painted(FreeImage_Allocate(16, 16, 24),
                            [](int x, int y) { return grey(x < 4 && y < 4 ? 255 : 0); }),
                    FIF_PNG, "corner.png");
    EXPECT_NEAR(shadesSeen(texture, 1, 1)[0], 1.0 / 16.0, shadeTolerance);
    // Blending the two nearest levels as well (rather than taking the nearer one) only shows as
    // bands where the level changes across a surface, which one pixel cannot see.
    GLint minFilter = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    glDeleteTextures(1, &texture);
}

// A file that cannot be read gives no texture and the line that names it. A truncated one may
// decode in part: either answer will do, as long as nothing crashes.
TEST_F(TextureLoaderTest, UnreadableFilesPrintTheLineAndGiveZero) {
    dir.writeFile("image.unknownformat", "not an image");
    for (const char* name : {"missing.png", "image.unknownformat"}) {
        std::string output;
        EXPECT_EQ(loadQuietly(name, output), 0u) << name;
        EXPECT_EQ(output, path(name) + " could not be opened. Are you in the right directory ?\n");
    }

    save(painted(FreeImage_Allocate(64, 64, 24), gradient), FIF_PNG, "whole.png");
    const auto size = std::filesystem::file_size(path("whole.png"));
    std::filesystem::copy_file(path("whole.png"), path("truncated.png"));
    std::filesystem::resize_file(path("truncated.png"), size / 3);
    std::string output;
    const GLuint texture = loadQuietly("truncated.png", output);
    if (texture == 0) {
        EXPECT_NE(output.find("could not be opened"), std::string::npos);
    } else {
        EXPECT_TRUE(glIsTexture(texture));
    }
}

} // namespace
