// quiverfall-modelgen: generates the demo's models and textures.
// Writes room.obj/.mtl, arrow1..3.obj/.mtl and textures/*.jpg; reruns give identical files.
#include <FreeImage.h>
#include <cstdio>
#include <cstring>
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

void usage() {
    std::puts("usage: quiverfall-modelgen [FOLDER]\n"
              "Writes the demo's models and textures into FOLDER (default ./Models): room.obj and\n"
              "room.mtl, arrow1..3.obj and .mtl, and textures/*.jpg, the same bytes on every run.\n"
              "The exit status is 0, 1 when a folder or file was not written, 2 for unusable\n"
              "arguments.");
}

bool writeModel(const std::string& directory, const char* name, const MeshBuilder& mesh) {
    report(name, mesh);
    return writeObj(directory, name, mesh, materialEntries());
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        usage();
        return 0;
    }
    // A mistyped option must not become a folder full of models.
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "quiverfall-modelgen takes one folder, not \"%s\" (see --help)\n",
                     argv[argc - 1]);
        return 2;
    }
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
