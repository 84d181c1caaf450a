#include "app/Globals.h"

ShaderProgram* standardShadingProgram = nullptr;
ShaderProgram* shadowMapProgram = nullptr;
ShaderProgram* postProcessProgram = nullptr;
ShaderProgram* blurShaderProgram = nullptr;
PostProcessing* postProcessing = nullptr;
Scene* scene = nullptr;
ArrowVolley* arrowVolley = nullptr;
ShadowMap* fireShadow = nullptr;
ShadowMap* lightShadow = nullptr;
FireLight* fireLight = nullptr;
LastPicture* lastPicture = nullptr;

std::vector<SceneObject*> shadowCasters;

bool needsRedraw = true;
bool bloomEnabled = true;
bool sequenceStarted = false;
bool demoPaused = false;

glm::mat4 cameraProjection(1.0f);
glm::mat4 lightProjection(1.0f);
glm::mat4 lightView(1.0f);
glm::mat4 fireProjection(1.0f);
glm::mat4 mainLightVP(1.0f);
glm::mat4 fireLightVP(1.0f);
