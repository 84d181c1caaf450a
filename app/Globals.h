// The program's state: every long-lived object and flag, created by setUpScene, freed by
// releaseScene.
#pragma once

#include <glm/glm.hpp>

class ShaderProgram;
class PostProcessing;

extern ShaderProgram* standardShadingProgram;
extern ShaderProgram* shadowMapProgram;
extern ShaderProgram* postProcessProgram;
extern ShaderProgram* blurShaderProgram;
extern PostProcessing* postProcessing;

extern bool needsRedraw;
extern bool bloomEnabled;
extern bool sequenceStarted;

extern glm::mat4 cameraProjection;
extern glm::mat4 lightProjection;
extern glm::mat4 lightView;
extern glm::mat4 fireProjection;
extern glm::mat4 mainLightVP;
extern glm::mat4 fireLightVP;
