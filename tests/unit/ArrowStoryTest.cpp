// The closing story told by the committed arrow models together with the flight and the volley
// timing, at a steady 30 frames per second: arrows 1 and 2 are seen in flight, arrow 3 stops in
// front of the final eye and inside the view.
#include "app/Flight.h"
#include "assets/SceneConversion.h"
#include "scene/VolleyTimeline.h"
#include "unit/AppStateTest.h"

#include <GLFW/glfw3.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr float frameTime = 1.0f / 30.0f;
constexpr int framesPerSecond = 30;

// The frame loop's projection: 45 degrees vertical, 1600x900, near 1, far 100.
const glm::mat4 projection = glm::perspective(0.7853982f, 1600.0f / 900.0f, 1.0f, 100.0f);

// Where an arrow's model file puts it, before the volley moves it.
struct ArrowShape {
    glm::vec3 tip;    // the vertex furthest along -z, the direction of flight
    glm::vec3 centre; // the middle of the bounding box
};

std::optional<ArrowShape> readArrowShape(const char* path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (scene == nullptr || scene->mNumMeshes == 0) {
        return std::nullopt;
    }
    glm::vec3 low(std::numeric_limits<float>::max());
    glm::vec3 high(-std::numeric_limits<float>::max());
    glm::vec3 tip(0.0f, 0.0f, std::numeric_limits<float>::max());
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        for (const glm::vec3& p : convertMesh(*scene->mMeshes[m]).positions) {
            low = glm::min(low, p);
            high = glm::max(high, p);
            if (p.z < tip.z) {
                tip = p;
            }
        }
    }
    return ArrowShape{tip, 0.5f * (low + high)};
}

// Inside the view volume: within the edges of the picture and between the near and far planes.
bool inView(const glm::mat4& view, const glm::vec3& world) {
    const glm::vec4 clip = projection * view * glm::vec4(world, 1.0f);
    return clip.w > 0.0f && std::abs(clip.x) <= clip.w && std::abs(clip.y) <= clip.w &&
           std::abs(clip.z) <= clip.w;
}

glm::vec3 placed(const glm::mat4& model, const glm::vec3& p) {
    return glm::vec3(model * glm::vec4(p, 1.0f));
}

class ArrowStoryTest : public AppStateTest {
  protected:
    void SetUp() override {
        AppStateTest::SetUp();
        const char* const paths[] = {"./Models/arrow1.obj", "./Models/arrow2.obj",
                                     "./Models/arrow3.obj"};
        for (int i = 0; i < VolleyTimeline::arrowCount; ++i) {
            const std::optional<ArrowShape> shape = readArrowShape(paths[i]);
            ASSERT_TRUE(shape.has_value()) << paths[i];
            shapes[i] = *shape;
        }
        playToTheEnd();
    }

    // The frame loop's order at a steady frame time: keys (C in the first frame only), flight,
    // then the volley once the flight has cued it. Stops with the frame that finishes the volley.
    void playToTheEnd() {
        // Far more than the flight and the volley need, so a volley that never ends stops too.
        const int frameLimit = 60 * framesPerSecond;
        for (frames = 1; frames <= frameLimit; ++frames) {
            ScriptedKeys keys;
            if (frames == 1) {
                keys.held = {GLFW_KEY_C};
            }
            handleKeys(keys);
            updateFlight(frameTime);
            if (!(camera.volleyCue && sequenceStarted)) {
                continue;
            }
            const int drawn = timeline.advance({&models[0], &models[1], &models[2]}, frameTime);
            if (drawn >= 0) {
                const ArrowShape& shape = shapes[drawn];
                if (inView(camera.view, placed(models[drawn], shape.tip)) ||
                    inView(camera.view, placed(models[drawn], shape.centre))) {
                    ++framesSeen[drawn];
                }
            }
            if (timeline.finished) {
                return;
            }
        }
    }

    ArrowShape shapes[VolleyTimeline::arrowCount];
    VolleyTimeline timeline;
    glm::mat4 models[VolleyTimeline::arrowCount] = {glm::mat4(1.0f), glm::mat4(1.0f),
                                                    glm::mat4(1.0f)};
    std::array<int, VolleyTimeline::arrowCount> framesSeen{};
    int frames = 0;
};

TEST_F(ArrowStoryTest, ArrowsOneAndTwoAreInViewForAtLeastASecondOfTheirFlight) {
    ASSERT_TRUE(timeline.finished);
    EXPECT_GE(framesSeen[0], framesPerSecond) << "arrow 1, frames in view";
    EXPECT_GE(framesSeen[1], framesPerSecond) << "arrow 2, frames in view";
}

TEST_F(ArrowStoryTest, ArrowThreeStopsInViewWithinTwoUnitsOfTheEye) {
    ASSERT_TRUE(timeline.finished);
    const glm::vec3 tip = placed(models[2], shapes[2].tip);
    EXPECT_TRUE(inView(camera.view, tip))
        << "tip at (" << tip.x << ", " << tip.y << ", " << tip.z << ")";
    EXPECT_LE(glm::distance(tip, camera.position), 2.0f);
}

} // namespace
