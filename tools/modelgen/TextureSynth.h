// Procedural texture images for every material of the room and the arrows. Each function
// returns a tileable image (it repeats seamlessly under GL_REPEAT) with v = 0 at the bottom.
#pragma once

#include "Image.h"

namespace modelgen {

Image floorPlanksTexture(); // oak floor boards running along v, 4 x 4 units per repeat
Image stoneWallTexture();   // ashlar courses, 4 x 4 units per repeat
Image plasterTexture();     // limewashed ceiling plaster
Image timberTexture();      // dark oak for furniture and beams, grain along v
Image hearthStoneTexture(); // fieldstones and flags around the fire
Image ironTexture();        // hammered, slightly rusty wrought iron
Image embersTexture();      // glowing charcoal bed
Image charredLogTexture();  // burnt bark, fissures along v
Image flameTexture();       // flame tongues: hot at v = 0, cooler towards v = 1
Image bannerTexture();      // two heraldic banners side by side (u < 0.5 and u >= 0.5)
Image targetFaceTexture();  // painted archery rings on straw, centred at (0.5, 0.5)
Image strawTexture();       // straw fibres along u
Image clayTexture();        // wheel-thrown terracotta
Image skyTexture();         // hills and sky for the view out of the window, horizon near v = 0.3
Image arrowShaftTexture();  // ash shaft, head at v = 0, cresting and nock towards v = 1
Image arrowHeadTexture();   // forged steel
Image fletchingTexture();   // barred grey feather (u < 0.5) and dyed red cock feather

// The swallowtail notch of the banner cloth as a fraction of its height; the banner mesh cuts
// its bottom edge with the same notch so the painted border follows the cloth's edge.
constexpr float kBannerNotch = 0.18f;

} // namespace modelgen
