#include "app/Frame.h"

#include "app/Controls.h"
#include "app/Globals.h"
#include "render/PostProcessing.h"

#include <GL/glew.h>

void runFrame(KeyInput& keys, float /*dt*/) {
    handleKeys(keys);

    glBindFramebuffer(GL_FRAMEBUFFER, postProcessing->sceneFramebuffer());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    if (needsRedraw) {
        postProcessing->blur();
        postProcessing->composite();
        needsRedraw = false;
    }
    glUseProgram(0);
}
