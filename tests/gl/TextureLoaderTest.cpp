// Loading images into textures: layout, orientation, colour conversion and failures.
#include "assets/TextureLoader.h"
#include "support/GlTestUtil.h"
#include "support/Process.h"
#include "support/ShadingProbe.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

class TextureLoaderTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    // Level 0 of `texture` as RGB bytes, bottom row first, rows tightly packed.
    static std::vector<unsigned char> readBack(GLuint texture, int& width, int& height) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, 0);
        return rgb;
    }

    static Rgb texel(const std::vector<unsigned char>& rgb, int width, int x, int y) {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }

    // Saves `image` and frees it.
    void save(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& name) {
        ASSERT_TRUE(FreeImage_Save(format, image, path(name).c_str(), 0));
        FreeImage_Unload(image);
    }

    GLuint loadQuietly(const std::string& name, std::string& output) {
        ::testing::internal::CaptureStdout();
        const GLuint texture = loadTexture(path(name).c_str());
        output = ::testing::internal::GetCapturedStdout();
        return texture;
    }

    TempDirectory dir;
};

// Every pixel gets its own colour: r = 10x, g = 10y (scanline 0 is the bottom row), b = 200.
FIBITMAP* gradientImage(int width, int height) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            RGBQUAD colour{};
            colour.rgbRed = static_cast<BYTE>(10 * x);
            colour.rgbGreen = static_cast<BYTE>(10 * y);
            colour.rgbBlue = 200;
            FreeImage_SetPixelColor(image, x, y, &colour);
        }
    }
    return image;
}

TEST_F(TextureLoaderTest, OddWidthImageArrivesWithoutSkewAndBottomRowFirst) {
    save(gradientImage(13, 7), FIF_PNG, "odd.png");
    std::string output;
    const GLuint texture = loadQuietly("odd.png", output);
    ASSERT_NE(texture, 0u) << output;
    EXPECT_EQ(output, "");
    int width = 0, height = 0;
    const auto rgb = readBack(texture, width, height);
    ASSERT_EQ(width, 13);
    ASSERT_EQ(height, 7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(texel(rgb, width, x, y), (Rgb{10 * x, 10 * y, 200})) << x << "," << y;
        }
    }
}

TEST_F(TextureLoaderTest, TextureIsMipmappedAndRepeats) {
    save(gradientImage(16, 8), FIF_PNG, "mip.png");
    std::string output;
    const GLuint texture = loadQuietly("mip.png", output);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    GLint lastLevelWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &lastLevelWidth);
    EXPECT_EQ(lastLevelWidth, 1) << "the mipmap chain was not generated";
    glBindTexture(GL_TEXTURE_2D, 0);
}

// A grey image of `width` x `height` (scanline 0 is the bottom row).
FIBITMAP* greyImage(int width, int height, const std::vector<unsigned char>& grey) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const BYTE value = grey[static_cast<size_t>(y) * width + x];
            RGBQUAD colour{};
            colour.rgbRed = colour.rgbGreen = colour.rgbBlue = value;
            FreeImage_SetPixelColor(image, x, y, &colour);
        }
    }
    return image;
}

// What a loaded texture shows as the shader sees it, through the program's own shading with the
// lights off: the texture's shade at each pixel, back from the shader's squaring into linear.
std::vector<double> shadesSeen(GLuint texture, int width, int height) {
    ShadingProbe shading;
    // Normals twice unit length: a glow of 1, so the scene colour is the texture's colour.
    const ShadingProbe::Target target = shading.shade(texture, 2.0f, width, height);
    std::vector<double> shades;
    for (int x = 0; x < width; ++x) {
        shades.push_back(std::sqrt(target.sceneRed(x, 0)));
    }
    return shades;
}

// Texture filtering works in 8-bit steps here and the half-float target adds its own rounding.
constexpr double shadeTolerance = 2.0 / 255.0;

// Magnified, a texture is filtered linearly: between a black and a white texel the surface goes
// through the greys between. Two texels over 8 pixels: pixel x samples texel coordinate
// (x + 0.5) / 4 - 0.5, so pixels 2 to 5 fall 0.125, 0.375, 0.625 and 0.875 of the way from the
// black texel's centre to the white one's. Filtered nearest they would be 0, 0, 1, 1.
TEST_F(TextureLoaderTest, AMagnifiedTextureShowsTheShadesBetweenItsTexels) {
    save(greyImage(2, 1, {0, 255}), FIF_PNG, "two.png");
    std::string output;
    const GLuint texture = loadQuietly("two.png", output);
    ASSERT_NE(texture, 0u) << output;
    const std::vector<double> shades = shadesSeen(texture, 8, 1);
    const double expected[4] = {0.125, 0.375, 0.625, 0.875};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(shades[2 + i], expected[i], shadeTolerance) << "pixel " << 2 + i;
    }
    glDeleteTextures(1, &texture);
}

// Minified, a texture shows its average, not whichever texels fall under the pixel: a 16x16
// black image with a white 4x4 corner, drawn into one pixel, is 16 / 256 = 1/16 grey (the 1x1
// level of its mipmaps). Sampled from the full image without mipmaps, the pixel's centre falls
// on black texels and it would be black; a pixel that flickers between the two as the camera
// moves is what a user sees of that.
TEST_F(TextureLoaderTest, AMinifiedTextureShowsItsAverage) {
    std::vector<unsigned char> grey(16 * 16, 0);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            grey[static_cast<size_t>(y) * 16 + x] = 255;
        }
    }
    save(greyImage(16, 16, grey), FIF_PNG, "corner.png");
    std::string output;
    const GLuint texture = loadQuietly("corner.png", output);
    ASSERT_NE(texture, 0u) << output;
    EXPECT_NEAR(shadesSeen(texture, 1, 1)[0], 1.0 / 16.0, shadeTolerance);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureLoaderTest, GreyscaleImageArrivesAsGrey) {
    FIBITMAP* image = FreeImage_Allocate(5, 3, 8);
    RGBQUAD* palette = FreeImage_GetPalette(image);
    for (int i = 0; i < 256; ++i) {
        palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
    }
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            BYTE value = static_cast<BYTE>(40 * x + y);
            FreeImage_SetPixelIndex(image, x, y, &value);
        }
    }
    save(image, FIF_PNG, "grey.png");
    std::string output;
    const GLuint texture = loadQuietly("grey.png", output);
    ASSERT_NE(texture, 0u);
    int width = 0, height = 0;
    const auto rgb = readBack(texture, width, height);
    EXPECT_EQ(texel(rgb, width, 4, 2), (Rgb{162, 162, 162}));
    EXPECT_EQ(texel(rgb, width, 1, 0), (Rgb{40, 40, 40}));
}

TEST_F(TextureLoaderTest, PalettisedImageArrivesWithItsPaletteColours) {
    FIBITMAP* image = FreeImage_Allocate(6, 2, 8);
    RGBQUAD* palette = FreeImage_GetPalette(image);
    palette[0] = RGBQUAD{30, 60, 90, 0};  // blue, green, red
    palette[1] = RGBQUAD{0, 128, 255, 0}; // orange
    for (int x = 0; x < 6; ++x) {
        BYTE index = static_cast<BYTE>(x % 2);
        FreeImage_SetPixelIndex(image, x, 0, &index);
        FreeImage_SetPixelIndex(image, x, 1, &index);
    }
    save(image, FIF_BMP, "palette.bmp");
    std::string output;
    const GLuint texture = loadQuietly("palette.bmp", output);
    ASSERT_NE(texture, 0u);
    int width = 0, height = 0;
    const auto rgb = readBack(texture, width, height);
    EXPECT_EQ(texel(rgb, width, 0, 0), (Rgb{90, 60, 30}));
    EXPECT_EQ(texel(rgb, width, 5, 1), (Rgb{255, 128, 0}));
}

TEST_F(TextureLoaderTest, ImageWithAlphaKeepsItsColours) {
    FIBITMAP* image = FreeImage_Allocate(3, 3, 32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            RGBQUAD colour{static_cast<BYTE>(50 * x), 20, static_cast<BYTE>(70 * y), 128};
            FreeImage_SetPixelColor(image, x, y, &colour);
        }
    }
    save(image, FIF_PNG, "alpha.png");
    std::string output;
    const GLuint texture = loadQuietly("alpha.png", output);
    ASSERT_NE(texture, 0u);
    int width = 0, height = 0;
    const auto rgb = readBack(texture, width, height);
    EXPECT_EQ(texel(rgb, width, 2, 1), (Rgb{70, 20, 100}));
}

TEST_F(TextureLoaderTest, SixteenBitImagesAreConverted) {
    FIBITMAP* rgb565 =
        FreeImage_Allocate(4, 2, 16, FI16_565_RED_MASK, FI16_565_GREEN_MASK, FI16_565_BLUE_MASK);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            RGBQUAD white{255, 255, 255, 0};
            FreeImage_SetPixelColor(rgb565, x, y, &white);
        }
    }
    save(rgb565, FIF_BMP, "rgb565.bmp");
    FIBITMAP* grey16 = FreeImage_AllocateT(FIT_UINT16, 4, 2);
    for (int y = 0; y < 2; ++y) {
        auto* row = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(grey16, y));
        for (int x = 0; x < 4; ++x) {
            row[x] = static_cast<unsigned short>(x * 20000);
        }
    }
    save(grey16, FIF_PNG, "grey16.png");

    std::string output;
    const GLuint colour = loadQuietly("rgb565.bmp", output);
    ASSERT_NE(colour, 0u) << output;
    int width = 0, height = 0;
    auto rgb = readBack(colour, width, height);
    EXPECT_EQ(texel(rgb, width, 3, 1), (Rgb{255, 255, 255}));

    const GLuint grey = loadQuietly("grey16.png", output);
    ASSERT_NE(grey, 0u) << output;
    rgb = readBack(grey, width, height);
    const Rgb darkest = texel(rgb, width, 0, 0);
    const Rgb brightest = texel(rgb, width, 3, 0);
    EXPECT_EQ(darkest.r, darkest.g);
    EXPECT_LT(darkest.r, brightest.r);
}

TEST_F(TextureLoaderTest, MissingFileAndUnknownExtensionPrintTheLineAndGiveZero) {
    std::string output;
    EXPECT_EQ(loadQuietly("missing.png", output), 0u);
    EXPECT_EQ(output,
              path("missing.png") + " could not be opened. Are you in the right directory ?\n");

    dir.writeFile("image.unknownformat", "not an image");
    EXPECT_EQ(loadQuietly("image.unknownformat", output), 0u);
    EXPECT_EQ(output, path("image.unknownformat") +
                          " could not be opened. Are you in the right directory ?\n");
}

TEST_F(TextureLoaderTest, TruncatedFileNeverCrashes) {
    save(gradientImage(64, 64), FIF_PNG, "whole.png");
    const auto size = std::filesystem::file_size(path("whole.png"));
    std::filesystem::copy_file(path("whole.png"), path("truncated.png"));
    std::filesystem::resize_file(path("truncated.png"), size / 3);
    std::string output;
    const GLuint texture = loadQuietly("truncated.png", output);
    // FreeImage may decode what is there or refuse; either way we get a usable answer.
    if (texture == 0) {
        EXPECT_NE(output.find("could not be opened"), std::string::npos);
    } else {
        EXPECT_TRUE(glIsTexture(texture));
    }
}

TEST_F(TextureLoaderTest, NoTextureIsLeftBound) {
    save(gradientImage(4, 4), FIF_PNG, "small.png");
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    std::string output;
    ASSERT_NE(loadQuietly("small.png", output), 0u);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    glDeleteTextures(1, &other);
}

} // namespace
