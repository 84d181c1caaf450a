// The program's state: every long-lived object and flag, created by setUpScene, freed by
// releaseScene.
#pragma once

#include <glm/glm.hpp>

#include <vector>

class ArrowVolley;
class FireLight;
class LastPicture;
class PostProcessing;
class Scene;
class SceneObject;
class ShaderProgram;
class ShadowMap;

extern ShaderProgram* standardShadingProgram;
extern ShaderProgram* shadowMapProgram;
extern ShaderProgram* postProcessProgram;
extern ShaderProgram* blurShaderProgram;
extern PostProcessing* postProcessing;
extern Scene* scene;
extern ArrowVolley* arrowVolley;
extern ShadowMap* fireShadow;
extern ShadowMap* lightShadow;
extern FireLight* fireLight;
// The finished picture: the composite draws it, every frame presents it in the window.
extern LastPicture* lastPicture;

// What both shadow passes draw: the room, then (once the volley runs) the current arrow. The list
// does not own its objects.
extern std::vector<SceneObject*> shadowCasters;

extern bool needsRedraw;
extern bool bloomEnabled;
extern bool sequenceStarted;
// P: the demo's time stands still (the flight, the arrows, the fire); the keys still act.
extern bool demoPaused;

extern glm::mat4 cameraProjection;
extern glm::mat4 lightProjection;
extern glm::mat4 lightView;
extern glm::mat4 fireProjection;
extern glm::mat4 mainLightVP;
extern glm::mat4 fireLightVP;
