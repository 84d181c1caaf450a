// GL checks a developer can switch on: the driver reports each failing GL call the moment it is
// made, with the call stack that made it, instead of the frame loop's one "GL ERROR DETECTED!!"
// after the frame. The program installs it only when built with -DQUIVERFALL_GL_DEBUG=ON; its
// console output is otherwise unchanged.
#pragma once

#include <cstdio>

// Reports errors and undefined behaviour through the context's debug output (GL 4.3 or
// KHR_debug; llvmpipe has it) to `out`, synchronously so that the reported stack is the failing
// call's. Returns false, changing nothing, when the context offers no debug output.
bool installGlDebugReport(std::FILE* out);

// Stops the reports.
void removeGlDebugReport();
