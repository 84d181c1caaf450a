// The picture is drawn again only when something changed: a camera move or turn, the flight,
// the volley. What a frame draws is counted with a primitives query around the whole frame and
// checked against the counts a redraw must issue, worked out from the room's own data: each of
// the two shadow passes and the shaded pass draws every triangle of the room once, each of the 20
// blur passes and the composite draws one full-screen quad of two triangles.
#include "app/Frame.h"
#include "app/ScriptedKeys.h"
#include "assets/Mesh.h"
#include "scene/Arrow.h"
#include "scene/ArrowVolley.h"
#include "scene/RestoresDemoState.h"
#include "scene/Scene.h"
#include "support/DrawCapture.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

constexpr GLuint quadTriangles = 2;
constexpr GLuint blurPasses = 20;

GLuint trianglesOf(const ModelObject& object) {
    GLuint triangles = 0;
    for (const Mesh* mesh : object.meshes()) {
        triangles += static_cast<GLuint>(mesh->vertexCount()) / 3;
    }
    return triangles;
}

GLuint roomTriangles() {
    return trianglesOf(*scene);
}

GLuint redrawWithBloom() {
    return 3 * roomTriangles() + blurPasses * quadTriangles + quadTriangles;
}
GLuint redrawWithoutBloom() {
    return 3 * roomTriangles() + quadTriangles;
}

// Triangles the GL assembled during one frame with `held` keys.
GLuint trianglesOfFrame(std::set<int> held, float dt = 1.0f / 30.0f) {
    ScriptedKeys keys;
    keys.held = std::move(held);
    return trianglesDrawnBy([&keys, dt] { runFrame(keys, dt, frameSize); });
}

using RedrawGateTest = RestoresDemoState;

TEST_F(RedrawGateTest, AFrameWithoutChangeDrawsNothing) {
    // The room is tens of thousands of triangles; far fewer means the counts here prove little.
    ASSERT_GT(roomTriangles(), 10000U);
    needsRedraw = true;
    EXPECT_EQ(trianglesOfFrame({}), redrawWithBloom()) << "the first frame must redraw";
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(trianglesOfFrame({}), 0U) << "idle frame " << frame << " redrew";
    }
}

TEST_F(RedrawGateTest, CameraKeysRedrawOnceEachFrameTheyAreHeld) {
    needsRedraw = true;
    trianglesOfFrame({});
    for (int key : {GLFW_KEY_UP, GLFW_KEY_DOWN, GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_F,
                    GLFW_KEY_B, GLFW_KEY_R, GLFW_KEY_T}) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        EXPECT_EQ(trianglesOfFrame({key}), redrawWithBloom());
        EXPECT_EQ(trianglesOfFrame({}), 0U) << "the frame after the key redrew";
    }
}

TEST_F(RedrawGateTest, SpaceRedrawsNothingAndTheNextRedrawHasNoBlur) {
    needsRedraw = true;
    trianglesOfFrame({});
    EXPECT_EQ(trianglesOfFrame({GLFW_KEY_SPACE}), 0U) << "Space alone redrew";
    EXPECT_EQ(trianglesOfFrame({GLFW_KEY_F}), redrawWithoutBloom())
        << "with bloom switched off by Space, the redraw still blurred";
    EXPECT_EQ(trianglesOfFrame({GLFW_KEY_SPACE}), 0U);
    EXPECT_EQ(trianglesOfFrame({GLFW_KEY_B}), redrawWithBloom())
        << "with bloom switched on again, the redraw did not blur";
}

TEST_F(RedrawGateTest, EveryFrameOfTheFlightRedrawsAndAMoveStopsIt) {
    needsRedraw = true;
    trianglesOfFrame({});
    EXPECT_EQ(trianglesOfFrame({GLFW_KEY_C}), redrawWithBloom()) << "C did not redraw";
    // Half-second frames well before the volley's cue at 29 s.
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(trianglesOfFrame({}, 0.5f), redrawWithBloom())
            << "flight frame " << frame << " did not redraw";
    }
    EXPECT_EQ(trianglesOfFrame({GLFW_KEY_LEFT}), redrawWithBloom());
    EXPECT_EQ(trianglesOfFrame({}), 0U) << "a stopped flight still redraws";
}

TEST_F(RedrawGateTest, APausedFlightHoldsItsTimeAndPictureThenGoesOnByOneFrame) {
    needsRedraw = true;
    trianglesOfFrame({GLFW_KEY_C}, 0.5f);
    const float flightTime = camera.flightTime;
    demoPaused = true;
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(trianglesOfFrame({}, 0.5f), 0U) << "paused frame " << frame << " redrew";
    }
    EXPECT_EQ(camera.flightTime, flightTime);
    demoPaused = false;
    EXPECT_EQ(trianglesOfFrame({}, 0.25f), redrawWithBloom());
    EXPECT_EQ(camera.flightTime, flightTime + 0.25f);
}

// Counts the triangles one pass of a frame draws.
class PassTriangles : public FramePassObserver {
  public:
    explicit PassTriangles(FramePass pass) : pass_(pass) { glGenQueries(1, &query_); }
    ~PassTriangles() override { glDeleteQueries(1, &query_); }

    void passBegins(FramePass pass) override {
        if (pass == pass_) {
            glBeginQuery(GL_PRIMITIVES_GENERATED, query_);
        }
    }
    void passEnds(FramePass pass) override {
        if (pass == pass_) {
            glEndQuery(GL_PRIMITIVES_GENERATED);
            glGetQueryObjectuiv(query_, GL_QUERY_RESULT, &count);
        }
    }

    GLuint count = 0;

  private:
    FramePass pass_;
    GLuint query_ = 0;
};

// The arrows cast shadows while they fly (the brief): in a frame of the volley both lights' depth
// passes draw the room and the arrow in flight, every triangle of each once.
TEST_F(RedrawGateTest, WhileTheVolleyFliesBothLightsShadowsIncludeTheArrow) {
    camera.volleyCue = true;
    sequenceStarted = true;
    const GLuint expected = roomTriangles() + trianglesOf(*arrowVolley->currentArrow());
    for (FramePass pass : {FramePass::fireShadow, FramePass::mainShadow}) {
        PassTriangles counted(pass);
        ScriptedKeys noKeys;
        runFrame(noKeys, 0.0f, frameSize, &counted);
        EXPECT_EQ(counted.count, expected) << "shadow pass " << static_cast<int>(pass);
    }
}

// Paused, a move still redraws: the arrow in flight is drawn again where it stands.
TEST_F(RedrawGateTest, APausedVolleyStandsStillWhileTheCameraMoves) {
    camera.volleyCue = true;
    sequenceStarted = true;
    trianglesOfFrame({}, 0.0f);
    const glm::mat4 placed = arrowVolley->currentArrow()->modelMatrix;
    demoPaused = true;
    EXPECT_EQ(trianglesOfFrame({}, 0.25f), 0U) << "a paused volley redrew";
    PassTriangles arrow(FramePass::arrow);
    ScriptedKeys up;
    up.held = {GLFW_KEY_UP};
    runFrame(up, 0.25f, frameSize, &arrow);
    EXPECT_EQ(arrow.count, trianglesOf(*arrowVolley->currentArrow()));
    EXPECT_EQ(arrowVolley->currentArrow()->modelMatrix, placed) << "the arrow flew on";
}

} // namespace
