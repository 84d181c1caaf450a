// Material table: material name, texture file and the function that synthesises the texture.
#include "Materials.h"

#include <cstdio>

#include "TextureSynth.h"

namespace modelgen {

namespace {

struct MaterialRecipe {
    const char* name;
    const char* textureFile; // below Models/textures/
    Image (*synthesise)();
    float glow = 0.0f; // see MaterialEntry
};

// Glow of the fire's parts and the candle flames: enough that their hot colours pass the bloom
// threshold (scene luminance 1) several times over, so they shine through the bloom even far
// from the fire's own light. The embers' texture is mostly dark charcoal with hot cracks, and
// only the cracks are bright enough to bloom; the logs glow only in their burning fissures.
constexpr float kFlameGlow = 4.0f;
constexpr float kEmbersGlow = 3.0f;
constexpr float kCharredLogGlow = 1.0f;

const MaterialRecipe kMaterials[] = {
    {material::floor, "floor_oak.jpg", floorPlanksTexture},
    {material::stone, "wall_stone.jpg", stoneWallTexture},
    {material::plaster, "plaster.jpg", plasterTexture},
    {material::timber, "timber.jpg", timberTexture},
    {material::hearthStone, "hearth_stone.jpg", hearthStoneTexture},
    {material::iron, "iron.jpg", ironTexture},
    {material::embers, "embers.jpg", embersTexture, kEmbersGlow},
    {material::charredLog, "charred_log.jpg", charredLogTexture, kCharredLogGlow},
    {material::flame, "flame.jpg", flameTexture, kFlameGlow},
    {material::banner, "banner.jpg", bannerTexture},
    {material::targetFace, "target_face.jpg", targetFaceTexture},
    {material::straw, "straw.jpg", strawTexture},
    {material::clay, "clay.jpg", clayTexture},
    {material::sky, "sky.jpg", skyTexture},
    {material::arrowShaft, "arrow_shaft.jpg", arrowShaftTexture},
    {material::arrowHead, "arrow_head.jpg", arrowHeadTexture},
    {material::arrowFletching, "arrow_fletching.jpg", fletchingTexture},
};

// Quality 88 keeps wood grain and mortar lines crisp; the whole set stays near 3 MB.
constexpr int kJpegQuality = 88;

} // namespace

const std::vector<std::string>& shellMaterialsDrawnLast() {
    static const std::vector<std::string> materials = {material::plaster, material::stone,
                                                       material::floor, material::sky};
    return materials;
}

std::vector<MaterialEntry> materialEntries() {
    std::vector<MaterialEntry> entries;
    for (const MaterialRecipe& m : kMaterials) {
        entries.push_back(MaterialEntry{m.name, std::string("textures/") + m.textureFile, m.glow});
    }
    return entries;
}

bool writeTextures(const std::string& modelsDirectory) {
    for (const MaterialRecipe& m : kMaterials) {
        const std::string path = modelsDirectory + "/textures/" + m.textureFile;
        const Image image = m.synthesise();
        if (!image.saveJpeg(path, kJpegQuality)) {
            return false;
        }
        std::printf("wrote %s (%dx%d)\n", path.c_str(), image.width(), image.height());
    }
    return true;
}

} // namespace modelgen
