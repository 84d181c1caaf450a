// The camera record: its start pose, the view matrix and turning.
#include "app/Camera.h"
#include "unit/AppStateTest.h"
#include "unit/VectorExpectations.h"

#include <cmath>

namespace {

const double oneDegree = std::acos(-1.0) / 180.0;

class CameraTest : public AppStateTest {};

TEST_F(CameraTest, StartsBehindTheRoomLookingDownMinusZ) {
    const Camera start;
    EXPECT_EQ(start.position, glm::vec3(0.0f, 0.0f, -24.0f));
    EXPECT_EQ(start.direction, glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(start.up, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(start.right, glm::vec3(-1.0f, 0.0f, 0.0f));
    EXPECT_EQ(start.verticalAxis, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(start.view == glm::mat4(1.0f));
    EXPECT_FALSE(start.flightActive);
    EXPECT_FALSE(start.volleyCue);
    EXPECT_EQ(start.flightTime, 0.0f);
}

TEST_F(CameraTest, ViewPutsTheEyeAtTheOriginLookingDownMinusZ) {
    camera.position = {1.0f, 2.0f, 3.0f};
    camera.direction = {0.65f, 0.0f, 1.0f};
    camera.updateView();

    const glm::vec4 eye = camera.view * glm::vec4(camera.position, 1.0f);
    const glm::vec4 target = camera.view * glm::vec4(camera.position + camera.direction, 1.0f);
    const glm::vec4 above = camera.view * glm::vec4(camera.position + camera.up, 1.0f);
    EXPECT_TRUE(isNear(glm::vec3(eye), {0.0, 0.0, 0.0}, 1e-5));
    EXPECT_TRUE(isNear(glm::vec3(target), {0.0, 0.0, -std::hypot(0.65, 1.0)}, 1e-5));
    EXPECT_GT(above.y, 0.9f);
}

// The start value of right is reversed, so the first turn goes the other way: a positive angle
// towards +x. It also makes right the cross product of direction and up, so from then on
// positive turns go towards -x and negative ones towards right.
TEST_F(CameraTest, TurnsFromTheStartAboutUp) {
    const struct {
        float first;
        int more; // turns after the first, each by `each` degrees
        float each;
        glm::dvec3 direction;
    } rows[] = {
        {1.0f, 0, 0.0f, {std::sin(oneDegree), 0.0, -std::cos(oneDegree)}},
        {-1.0f, 0, 0.0f, {-std::sin(oneDegree), 0.0, -std::cos(oneDegree)}},
        {1.0f, 1, 1.0f, {0.0, 0.0, -1.0}},
        // 1 + 90 degrees from -z ends one degree past +x.
        {1.0f, 90, -1.0f, {std::cos(oneDegree), 0.0, std::sin(oneDegree)}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.first << " then " << row.more << " x " << row.each);
        resetAppState();
        camera.turn(row.first);
        for (int i = 0; i < row.more; ++i) {
            camera.turn(row.each);
        }
        EXPECT_TRUE(isNear(camera.direction, row.direction, 1e-5));
        EXPECT_NEAR(glm::length(camera.direction), 1.0f, 1e-6f);
        EXPECT_EQ(camera.right, glm::cross(camera.direction, camera.up));
    }
}

TEST_F(CameraTest, TurnNormalisesDirectionButLeavesRightShortWhenTilted) {
    camera.direction = {2.0f, -0.6f, 0.4f};
    camera.turn(0.0f);

    const double length = std::sqrt(4.0 + 0.36 + 0.16);
    EXPECT_TRUE(isNear(camera.direction, {2.0 / length, -0.6 / length, 0.4 / length}, 1e-6));
    // right = (-dz, 0, dx) of the unit direction: shorter than 1 by the tilt.
    EXPECT_TRUE(isNear(camera.right, {-0.4 / length, 0.0, 2.0 / length}, 1e-6));
    EXPECT_LT(glm::length(camera.right), 0.96f);
}

TEST_F(CameraTest, TurnStopsTheFlightAndRebuildsTheView) {
    camera.flightActive = true;
    camera.turn(-1.0f);
    EXPECT_FALSE(camera.flightActive);

    const glm::vec4 target = camera.view * glm::vec4(camera.position + camera.direction, 1.0f);
    EXPECT_TRUE(isNear(glm::vec3(target), {0.0, 0.0, -1.0}, 1e-5));
}

} // namespace
