// quiverfall-modelgen: generates the demo's models and textures.
// Usage: quiverfall-modelgen [output directory, default ./Models]
// Writes room.obj/.mtl, arrow1..3.obj/.mtl and textures/*.jpg; reruns give identical files.
#include <FreeImage.h>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ArrowModel.h"
#include "Layout.h"
#include "Materials.h"
#include "MeshBuilder.h"
#include "ObjWriter.h"
#include "RoomProps.h"
#include "RoomShell.h"

namespace {

using namespace modelgen;

void report(const char* name, const MeshBuilder& mesh) {
    std::printf("%s:\n", name);
    size_t total = 0;
    for (const MeshGroup& g : mesh.groups()) {
        std::printf("  %-16s %6zu vertices\n", g.material.c_str(), g.corners.size());
        total += g.corners.size();
    }
    std::printf("  %zu groups, %zu vertices\n", mesh.groups().size(), total);
}

bool writeModel(const std::string& directory, const char* name, const MeshBuilder& mesh) {
    report(name, mesh);
    return writeObj(directory, name, mesh, materialEntries());
}

} // namespace

int main(int argc, char** argv) {
    const std::string directory = argc > 1 ? argv[1] : "./Models";
    std::error_code error;
    std::filesystem::create_directories(directory + "/textures", error);
    if (error) {
        std::fprintf(stderr, "cannot create %s/textures: %s\n", directory.c_str(),
                     error.message().c_str());
        return 1;
    }

    MeshBuilder room;
    buildRoomShell(room);
    buildRoomProps(room);
    room.moveGroupsToEnd(shellMaterialsDrawnLast());
    bool ok = writeModel(directory, "room", room);

    const glm::vec3 tips[3] = {kArrow1Tip, kArrow2Tip, kArrow3Tip};
    for (int i = 0; i < 3; ++i) {
        MeshBuilder arrow;
        addArrow(arrow, translation(tips[i]));
        const std::string name = "arrow" + std::to_string(i + 1);
        ok = writeModel(directory, name.c_str(), arrow) && ok;
    }

    FreeImage_Initialise(FALSE);
    ok = writeTextures(directory) && ok;
    FreeImage_DeInitialise();
    return ok ? 0 : 1;
}
