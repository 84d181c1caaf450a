// What a user sees in still views of the hall, through the program's own frame: the start view,
// the fire pit, the sunbeam. Each view is checked where its feature must show, against an
// oracle of its own: the same view rendered with one thing taken away (bloom, one light's
// shadows), a committed reference picture, and regions worked out from the hall's layout. Every
// picture rendered here is saved to tests/views/ in the build folder for a person to look at.
#include "app/Camera.h"
#include "app/Frame.h"
#include "app/Globals.h"
#include "app/ScriptedKeys.h"
#include "render/ShadowMap.h"
#include "scene/RestoresDemoState.h"
#include "support/ImageCompare.h"
#include "support/PictureRegions.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Pose {
    glm::vec3 position;
    glm::vec3 direction;
};

// Everything the bloom can pick up: the bright pass starts at half the display's white, which
// the tone curve and gamma put at 204 in the brightest channel; 200 leaves room for rounding.
constexpr int flameBrightness = 200;
// The blur spreads a pixel by one texel per pass along each axis, 10 passes per axis; one more
// allows for the rounding of the half-float images.
constexpr int haloRadius = 11;

// Regions of the pictures below (x, y from the lower left, width, height), read off them.
// The fire pit view: the floor beyond the woodpile on the pit's left, where the stack's shadow
// falls; and the far end of the hall, 30 units and more from the fire.
const PixelRect woodpileShadowRegion{220, 480, 400, 130};
const PixelRect farHallRegion{400, 780, 1200, 120};
// The far end of the woodpile's shadow, on the floor left of the stack and beyond it: the part
// farthest from the fire, where the fire's shadows begin to fade out.
const PixelRect woodpileShadowFarEndRegion{200, 450, 150, 250};
// The veil view: the wall at the far end of the hall, above its door, which the sun does not reach.
const PixelRect farWallRegion{560, 600, 240, 100};
// The sunbeam view: the floor in the lower third of the picture, and a row across it where the
// shafts and the mullions' shadows alternate.
const PixelRect sunbeamFloorRegion{0, 0, 1600, 300};
constexpr int sunbeamStripeRow = 299;

// Sunlit shafts along `row`: runs of pixels more than a tenth brighter than without the sun, at
// least `minimumWidth` wide and apart, so texture grain and soft edges do not count.
int sunlitShaftsAlongRow(const Picture& shaded, const Picture& sunless, int row) {
    constexpr int minimumWidth = 8;
    int shafts = 0;
    int runStart = -1;
    int lastLit = -minimumWidth - 1;
    for (int x = 0; x <= shaded.width; ++x) {
        const bool lit =
            x < shaded.width && brightness(shaded, x, row) * 10 > brightness(sunless, x, row) * 11;
        if (lit) {
            if (x - lastLit > minimumWidth) {
                runStart = x; // after a shadow wide enough, a new shaft starts here
            }
            lastLit = x;
        } else if (runStart >= 0 && x - lastLit > minimumWidth) {
            shafts += lastLit - runStart + 1 >= minimumWidth;
            runStart = -1;
        }
    }
    return shafts;
}

// The program's start view, looking down the hall to the high table.
const Pose startPose{{0.0f, 3.0f, -23.0f}, {0.0f, 0.0f, -1.0f}};
// Turned round from the start and stepped back: the fire pit at (0, 0, -20) seven units ahead
// and below, the hall beyond it lit by the fire, whose shadow map looks along +z.
const Pose firePitPose{{0.0f, 3.0f, -27.0f}, {0.0f, -0.35f, 1.0f}};
// The flight's pose at 15 s: down the hall along +z past the window in the -x wall, the floor
// crossed by the sunbeam and the shadows of the window's mullions.
const Pose sunbeamPose{{-5.4f, 2.0f, -17.27f}, {0.0f, 0.0f, 1.0f}};
// Standing in the sunbeam, on the line from the light through the middle of the window, looking
// down the hall along +z.
const Pose inSunbeamPose{{-5.0f, 2.2f, -7.5f}, {0.0f, 0.0f, 1.0f}};

void savePicture(const Picture& picture, const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(QUIVERFALL_BINARY_DIR) / "views";
    std::filesystem::create_directories(folder);
    savePng(picture, (folder / (name + ".png")).string());
}

// The picture of `pose` as a redrawn frame of the program shows it, bloom as set by Space.
Picture redrawAt(const Pose& pose, const std::string& name) {
    camera.position = pose.position;
    camera.direction = pose.direction;
    camera.updateView();
    needsRedraw = true;
    ScriptedKeys noKeys;
    runFrame(noKeys, 0.0f, frameSize);
    const Picture picture = readWindowPixels();
    savePicture(picture, name);
    return picture;
}

// The same view redrawn by the program's own frame, with one light's shadow map overwritten right
// after its pass: a map cleared to depth 1 (the far plane) counts every surface as lit, so the
// light casts no shadows; one cleared to depth 0 counts every surface as shadowed, so it lights
// nothing.
constexpr double everythingLit = 1.0;
constexpr double everythingShadowed = 0.0;

class ShadowMapFiller : public FramePassObserver {
  public:
    ShadowMapFiller(FramePass pass, const ShadowMap& map, double depth)
        : pass_(pass), map_(map), depth_(depth) {}

    void passBegins(FramePass) override {}
    void passEnds(FramePass pass) override {
        if (pass != pass_) {
            return;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, map_.shadowFramebuffer());
        glClearDepth(depth_);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

  private:
    FramePass pass_;
    const ShadowMap& map_;
    double depth_;
};

Picture redrawWithShadowMapFilled(FramePass shadowPass, const ShadowMap& filled, double depth,
                                  const std::string& name) {
    ShadowMapFiller filler(shadowPass, filled, depth);
    needsRedraw = true;
    ScriptedKeys noKeys;
    runFrame(noKeys, 0.0f, frameSize, &filler);
    const Picture picture = readWindowPixels();
    savePicture(picture, name);
    return picture;
}

using ViewTest = RestoresDemoState;

// Thresholds for the fire pit against its reference. The pit fills the middle of the picture with
// flames whose edges are a few pixels wide and bloom over the floor, so a different Mesa or CPU
// moves more single pixels than in a picture without them (the max); the tones of the whole
// picture must stay as close as the start view's (the mean).
constexpr int firePitMaxDifference = 128;
constexpr double firePitMeanDifference = 1.5;
// Around the pit the flames' glow and bloom decide the picture, and over a fifth of the picture
// they would hide in the mean above: here the tones must match as closely as over the whole.
const PixelRect firePitGlowRegion{560, 330, 480, 300};
constexpr double firePitGlowMeanDifference = 1.5;

TEST_F(ViewTest, FirePitMatchesItsReferencePicture) {
    const Picture actual = redrawAt(firePitPose, "fire_pit");
    const Picture reference = referencePicture("fire_pit");
    expectPictureMatches(actual, reference, "fire_pit",
                         {firePitMaxDifference, firePitMeanDifference});
    const double aroundTheFire = meanDifferenceInRegion(actual, reference, firePitGlowRegion);
    EXPECT_LE(aroundTheFire, firePitGlowMeanDifference)
        << "the fire's glow and bloom differ from the reference picture (mean " << aroundTheFire
        << " around the pit)";
}

// Bloom adds a halo around what glows and nothing elsewhere: the candle flames in the start view,
// the flames and embers of the fire pit. Far from them the two pictures must be the same.
TEST_F(ViewTest, BloomGlowsAroundTheFlamesAndNowhereElse) {
    struct Case {
        const char* name;
        Pose pose;
        // Bright pixels the halo must surround, in the picture without bloom: the flames are
        // the only surfaces of these views that pass the bloom threshold.
        int glowingAtLeast;
    };
    // The start view shows eleven candle flames, a few dozen pixels each; the pit fills a fifth
    // of the picture's width with flames and embers.
    const Case cases[] = {{"start_view", startPose, 150}, {"fire_pit", firePitPose, 4000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setBloom(false);
        const Picture plain = redrawAt(c.pose, std::string(c.name) + "_bloom_off");
        setBloom(true);
        const Picture bloomed = redrawAt(c.pose, std::string(c.name) + "_bloom_on");

        const Mask flames = brightPixels(plain, flameBrightness);
        ASSERT_GE(flames.count(), c.glowingAtLeast) << "the flames are not bright enough to glow";
        const HaloChange reach = compareAroundMask(plain, bloomed, flames, haloRadius);
        EXPECT_GT(reach.brightenedNear, c.glowingAtLeast)
            << "bloom brightens too few pixels around the flames: the glow does not show";
        EXPECT_EQ(reach.changedFar, 0)
            << "bloom changed pixels more than " << haloRadius << " pixels from any flame";
    }
}

// The fire's shadow map only looks along +z, so the fire pit view is where its shadows fall: the
// woodpile beside the pit throws its shadow across the floor beyond.
TEST_F(ViewTest, TheFireCastsShadowsBeyondThePit) {
    const Picture shaded = redrawAt(firePitPose, "fire_pit_with_fire_shadows");
    const Picture unshadowed = redrawWithShadowMapFilled(FramePass::fireShadow, *fireShadow,
                                                         everythingLit, "fire_pit_no_fire_shadows");
    // About 14,600 pixels of the region darken, by up to 67 levels.
    const RegionChange change = compareInRegion(unshadowed, shaded, woodpileShadowRegion);
    EXPECT_GT(change.darkerPixels, 5000)
        << "the fire's shadows do not show: only " << change.darkerPixels
        << " pixels behind the woodpile are darker than without the fire's shadow map";
    EXPECT_EQ(change.brighterPixels, 0) << "a shadow made something brighter";
    // The shadow's far end darkens about 2,300 pixels; shadows that fade out from 7 units instead
    // of 8 leave 1,500 of them, from 6 units 650.
    const RegionChange farEnd = compareInRegion(unshadowed, shaded, woodpileShadowFarEndRegion);
    EXPECT_GT(farEnd.darkerPixels, 1800)
        << "the fire's shadows fade out too close to the fire: only " << farEnd.darkerPixels
        << " pixels at the far end of the woodpile's shadow are darker";
    // The fire's shadows reach 12 units at most: the far end of the hall is untouched.
    const RegionChange far = compareInRegion(unshadowed, shaded, farHallRegion);
    EXPECT_EQ(far.darkerPixels + far.brighterPixels, 0)
        << "the fire's shadow map changed the far end of the hall";
}

// The window's mullions stand in the sunbeam: the floor shows separate bright shafts with the
// mullions' shadows between them. The oracle is the same view with the sun shut out (its map
// says everything is in shadow): what is brighter than that is sunlit.
TEST_F(ViewTest, TheSunbeamFallsInShaftsBetweenTheMullionsShadows) {
    const Picture shaded = redrawAt(sunbeamPose, "sunbeam");
    const Picture sunless = redrawWithShadowMapFilled(FramePass::mainShadow, *lightShadow,
                                                      everythingShadowed, "sunbeam_without_sun");
    const RegionChange change = compareInRegion(sunless, shaded, sunbeamFloorRegion);
    EXPECT_GT(change.brighterPixels, 20000) << "the sun does not reach the floor";
    const int shafts = sunlitShaftsAlongRow(shaded, sunless, sunbeamStripeRow);
    EXPECT_GE(shafts, 3) << "the floor shows " << shafts
                         << " sunlit shafts along a row across the beam: the window's mullions"
                            " cast no shadows";
}

// With the eye in the sunbeam, the lit air veils everything seen, the more the farther it is. The
// far wall is out of the sun, so there the veil is all that the sun adds: about 28 levels of 255
// in each channel, where a veil half as strong gives 15 and one three times as strong 70.
TEST_F(ViewTest, TheSunlitAirVeilsTheHallWhenTheEyeStandsInTheSunbeam) {
    const Picture veiled = redrawAt(inSunbeamPose, "in_sunbeam");
    const Picture sunless = redrawWithShadowMapFilled(FramePass::mainShadow, *lightShadow,
                                                      everythingShadowed, "in_sunbeam_without_sun");
    const double veil = meanDifferenceInRegion(sunless, veiled, farWallRegion);
    EXPECT_GT(veil, 18.0) << "the sunlit air is too thin";
    EXPECT_LT(veil, 36.0) << "the sunlit air is too thick";
}

} // namespace
