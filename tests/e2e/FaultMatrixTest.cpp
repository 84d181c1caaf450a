// Start-up with one broken data file at a time, from a working directory holding copies of
// Shader/ and Models/. A broken shader source stops the program with status 1 and its own line
// before any later program is built; a broken model or texture costs at most its own part of
// the picture, never the process. Each group is a table of ways to break a file, each tried on
// every file of the group; what each loader says about a file is checked by its own GL tests.
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/ReadFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <sstream>
#include <tuple>

namespace {

namespace fs = std::filesystem;

const std::string captureTool =
    (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/capture/quiverfall-capture").string();

// Start-up failures happen before the first frame, and the capture tool's --start-only run is
// set-up plus one frame; both take a few seconds on software GL, this leaves ample room.
constexpr double runTimeoutSeconds = 120.0;

const std::string glErrorLine = "GL ERROR DETECTED!!";

void writeFile(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string randomBytes(size_t count) {
    std::mt19937 generator(20240611u); // mt19937's sequence is the same on every platform
    std::string bytes(count, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(generator()); });
    return bytes;
}

// A working directory with copies of the run-time data, ready for one fault.
struct DataCopy : TempDirectory {
    DataCopy() {
        copyFromSource("Shader");
        copyFromSource("Models");
    }
};

// One way of breaking a data file, given the file's path in a data copy; what the run must show
// after it (`expects`) is said by each group's table.
template <typename Expectation> struct Fault {
    const char* name;
    void (*inject)(const fs::path& file);
    Expectation expects;
};

template <typename Expectation>
using FaultCase = ::testing::TestWithParam<std::tuple<const char*, Fault<Expectation>>>;
template <typename Expectation>
void PrintTo(const std::tuple<const char*, Fault<Expectation>>& c, std::ostream* out) {
    *out << std::get<0>(c) << " " << std::get<1>(c).name;
}

// Each fault is tried on each file of its group, the case named after both: "shadowMap.vert" and
// "Missing" give shadowMap_vert_Missing.
const auto caseName = [](const auto& info) {
    std::string file = std::get<0>(info.param);
    std::replace_if(
        file.begin(), file.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return file + "_" + std::get<1>(info.param).name;
};

// Ways of breaking a file that more than one group below uses.
const auto removed = [](const fs::path& file) { fs::remove(file); };
const auto emptied = [](const fs::path& file) { fs::resize_file(file, 0); };
const auto cutInHalf = [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 2); };

// --- Shader sources --------------------------------------------------------------------------

// Expects what the driver's log, printed alone, must name; null where the load line is printed.
const Fault<const char*> shaderFaults[] = {
    {"Missing", removed, nullptr},
    {"Empty", emptied, ""},
    {"CompileError",
     [](const fs::path& source) {
         writeFile(source, readFile(source) +
                               "\nfloat compileFault() { return undeclaredCompileFault; }\n");
     },
     "undeclaredCompileFault"},
    // Compiles: the function is declared, and only the linker finds that it has no body.
    {"LinkError",
     [](const fs::path& source) {
         writeFile(source,
                   replaceAll(readFile(source), "void main(", "void originalMain(") +
                       "\nvoid undefinedLinkFault();\n"
                       "void main() {\n    originalMain();\n    undefinedLinkFault();\n}\n");
     },
     "undefinedLinkFault"},
};

// In the order the programs are built; the blur program opens postProcess.vert again.
const char* const shaderFiles[] = {
    "standardShading.vert", "standardShading.frag", "shadowMap.vert", "shadowMap.frag",
    "postProcess.vert",     "postProcess.frag",     "blurShader.frag"};

class ShaderSourceFault : public FaultCase<const char*> {};

TEST_P(ShaderSourceFault, StopsWithStatusOneAtTheFirstBrokenSource) {
    const auto& [file, fault] = GetParam();
    DataCopy data;
    fault.inject(data.path() / "Shader" / file);
    // The last program's source, removed as well: a program that went on past the failure would
    // stop there with its load line.
    if (std::string(file) != "blurShader.frag") {
        fs::remove(data.path() / "Shader/blurShader.frag");
    }

    const ProgramRun run = runProgram(data.path(), runTimeoutSeconds);
    ASSERT_TRUE(run.exitStatus.has_value()) << "the program did not stop by itself";
    ASSERT_NE(*run.exitStatus, -1) << "a signal ended the program\n" << run.standardError;
    EXPECT_EQ(*run.exitStatus, 1) << run.standardOutput << run.standardError;
    const std::string& out = run.standardOutput;
    if (fault.expects == nullptr) {
        EXPECT_EQ(out, "ERROR: Could not load file ./Shader/" + std::string(file) + "\n");
    } else {
        EXPECT_FALSE(out.empty()) << "no compile or link log";
        EXPECT_TRUE(contains(out, fault.expects)) << out;
        EXPECT_FALSE(contains(out, "ERROR: Could not load file"))
            << "a later program was built after the failure:\n"
            << out;
        EXPECT_FALSE(contains(out, file)) << "the log is printed with the file's name:\n" << out;
    }
    EXPECT_FALSE(contains(out, glErrorLine));
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, ShaderSourceFault,
                         ::testing::Combine(::testing::ValuesIn(shaderFiles),
                                            ::testing::ValuesIn(shaderFaults)),
                         caseName);

// --- The capture tool's start view -----------------------------------------------------------

struct StartView {
    ProgramRun run;
    Picture frame;
};

// Set-up discards one pending GL error before the first frame, so a fault that makes a GL call
// fail while assets load would go unseen by the frame's check. Mesa names every failed call on
// standard error when MESA_DEBUG is set in the tool's environment.
const std::string mesaErrorText = "Mesa: User error";

StartView captureStartView(const DataCopy& data) {
    const fs::path out = data.path() / "frames";
    ProcessOptions mesaErrors;
    mesaErrors.environment = {"MESA_DEBUG=1"};
    Process tool(captureTool, {"--start-only", "--quiet", "--no-sheet", "--out", out.string()},
                 data.path(), mesaErrors);
    StartView view;
    view.run.exitStatus = tool.waitForExit(runTimeoutSeconds);
    view.run.standardOutput = tool.standardOutput();
    view.run.standardError = tool.standardError();
    view.frame = loadPng((out / "frame_start.png").string());
    return view;
}

// Share of pixels with a channel above the darkest shades. The intact start view lights most of
// the window; a picture with almost nothing above black means the room was not drawn.
constexpr int darkestUnlit = 16;

double litShare(const Picture& picture) {
    size_t lit = 0;
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        if (std::max({picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]}) > darkestUnlit) {
            ++lit;
        }
    }
    return picture.rgb.empty() ? 0.0 : static_cast<double>(lit) / (picture.rgb.size() / 3.0);
}

// A tenth of the window: far below the intact start view, far above a black frame.
constexpr double minimumLitShare = 0.1;

// The room drawn, or (lit false) nothing at all; a picture that fails is written out for a
// person to look at, named after the running test.
void expectLit(const Picture& frame, bool lit = true) {
    const double share = litShare(frame);
    if (lit ? share > minimumLitShare : isBlack(frame, darkestUnlit)) {
        return;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "_" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    ADD_FAILURE() << (lit ? "the room is not drawn" : "something was drawn without the room")
                  << ": " << share << " of the window is lit; picture in "
                  << writeFailureImages(name, frame, Picture());
}

// Common to every asset fault: the run ends by itself with status 0 and writes its frame.
void expectCleanStart(const StartView& view) {
    ASSERT_TRUE(view.run.exitStatus.has_value()) << "the capture tool did not stop by itself";
    ASSERT_NE(*view.run.exitStatus, -1) << "a signal ended the capture tool\n"
                                        << view.run.standardError;
    EXPECT_EQ(*view.run.exitStatus, 0) << view.run.standardOutput << view.run.standardError;
    EXPECT_FALSE(view.frame.rgb.empty()) << "frame_start.png was not written";
    EXPECT_FALSE(contains(view.run.standardOutput, glErrorLine));
    EXPECT_FALSE(contains(view.run.standardError, glErrorLine));
    EXPECT_FALSE(contains(view.run.standardError, mesaErrorText)) << view.run.standardError;
}

TEST(FaultMatrixBaseline, IntactCopyStartsCleanlyAndLightsTheRoom) {
    DataCopy data;
    const StartView view = captureStartView(data);
    expectCleanStart(view);
    expectLit(view.frame);
    EXPECT_TRUE(view.run.standardError.empty()) << view.run.standardError;
    EXPECT_FALSE(contains(view.run.standardOutput, "could not be opened"))
        << view.run.standardOutput;
}

// The check above is only worth something if Mesa does name failed calls: a uniform uploaded as
// three floats to a float fails while the main light is set up, before the first frame.
TEST(FaultMatrixBaseline, FailedCallDuringSetUpIsNamedOnStandardError) {
    DataCopy data;
    const fs::path shader = data.path() / "Shader/standardShading.frag";
    const std::string declaration = "uniform vec3 ambientLightColor;";
    const std::string source = readFile(shader);
    ASSERT_TRUE(contains(source, declaration)) << "the shading source no longer declares it";
    // The macro keeps the shader's own uses three floats wide; the uniform itself is one float.
    writeFile(shader, replaceAll(source, declaration,
                                 "uniform float ambientLightColor;\n"
                                 "#define ambientLightColor vec3(ambientLightColor)"));
    const StartView view = captureStartView(data);
    EXPECT_TRUE(contains(view.run.standardError, mesaErrorText)) << view.run.standardError;
}

// --- Model files -----------------------------------------------------------------------------

// One group of 22,000 triangles: the importer gives one vertex per corner, 66,000 in one mesh,
// more than a 16-bit index can count. The grid lies below the floor, out of the start view.
std::string withLargeMesh(const std::string& obj) {
    int positionCount = 0;
    std::istringstream lines(obj);
    for (std::string line; std::getline(lines, line);) {
        positionCount += line.rfind("v ", 0) == 0 ? 1 : 0;
    }
    constexpr int columns = 110;
    constexpr int rows = 100; // 110 x 100 cells, two triangles each: 22,000 triangles
    std::ostringstream grid;
    grid << "\no fault_large_grid\n";
    for (int z = 0; z <= rows; ++z) {
        for (int x = 0; x <= columns; ++x) {
            grid << "v " << (x * 0.1f - 5.0f) << " -3.0 " << (z * 0.1f - 5.0f) << "\n";
        }
    }
    const auto index = [&](int x, int z) { return positionCount + 1 + z * (columns + 1) + x; };
    for (int z = 0; z < rows; ++z) {
        for (int x = 0; x < columns; ++x) {
            grid << "f " << index(x, z) << "/1/1 " << index(x, z + 1) << "/2/1 " << index(x + 1, z)
                 << "/3/1\n";
            grid << "f " << index(x + 1, z) << "/3/1 " << index(x, z + 1) << "/2/1 "
                 << index(x + 1, z + 1) << "/1/1\n";
        }
    }
    return obj + grid.str();
}

// Points, lines and faces with one and two corners, both in the file's last group (next to its
// triangles) and in a group of their own. Every file has at least three positions, texture
// coordinates and one normal.
const std::string pointsAndLines =
    "\np 1\nl 1 2\nf 2/2/1\nf 1/1/1 3/3/1\n"
    "o fault_points_and_lines\np 1 2 3\nl 1 2 3\nf 3/3/1\nf 2/2/1 1/1/1\n";

// Expects that nothing of the file can be read: without the room's meshes nothing is drawn.
const Fault<bool> modelFaults[] = {
    {"Missing", removed, true},
    {"Truncated", cutInHalf, false},
    {"RandomBytes", [](const fs::path& obj) { writeFile(obj, randomBytes(fs::file_size(obj))); },
     true},
    {"PointsAndLines", [](const fs::path& obj) { writeFile(obj, readFile(obj) + pointsAndLines); },
     false},
    {"LargeMesh", [](const fs::path& obj) { writeFile(obj, withLargeMesh(readFile(obj))); }, false},
};

const char* const modelFiles[] = {"room.obj", "arrow1.obj", "arrow2.obj", "arrow3.obj"};

class ModelFileFault : public FaultCase<bool> {};

TEST_P(ModelFileFault, StartsWithoutCrashing) {
    const auto& [file, fault] = GetParam();
    DataCopy data;
    fault.inject(data.path() / "Models" / file);

    const StartView view = captureStartView(data);
    expectCleanStart(view);
    if (!fs::exists(data.path() / "Models" / file)) {
        EXPECT_TRUE(contains(view.run.standardError, "./Models/" + std::string(file)))
            << "no import error text on standard error: " << view.run.standardError;
    }
    // Random bytes and a cut-off file may be refused by the importer (its error text on standard
    // error) or read as a file with fewer or no meshes; either way the run goes on.
    const bool roomLost =
        std::string(file) == "room.obj" && (fault.expects || !view.run.standardError.empty());
    expectLit(view.frame, !roomLost);
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, ModelFileFault,
                         ::testing::Combine(::testing::ValuesIn(modelFiles),
                                            ::testing::ValuesIn(modelFaults)),
                         caseName);

// --- Texture images --------------------------------------------------------------------------

// Each image is one the loader cannot read, or only in part: how images of every pixel layout
// are read is checked by the texture loader's GL tests.
// Expects the extension of the file the loader then names as unreadable; null where the decoder
// may keep what it read or refuse the file, both fine.
const Fault<const char*> textureFaults[] = {
    {"Missing", removed, ".jpg"},
    // The materials name a file of an extension that no decoder claims.
    {"UnknownFormat",
     [](const fs::path& image) {
         const fs::path junk = fs::path(image).replace_extension(".xyz");
         writeFile(junk, "not an image of any kind\n" + randomBytes(4096));
         const fs::path models = image.parent_path().parent_path();
         for (const fs::directory_entry& entry : fs::directory_iterator(models)) {
             if (entry.path().extension() == ".mtl") {
                 writeFile(entry.path(),
                           replaceAll(readFile(entry.path()), image.filename().string(),
                                      junk.filename().string()));
             }
         }
     },
     ".xyz"},
    {"ZeroSized", emptied, ".jpg"},
    {"Truncated", cutInHalf, nullptr},
};

// The room's floor, and the arrow shaft that the room and all three arrows name.
const char* const textureStems[] = {"floor_oak", "arrow_shaft"};

class TextureImageFault : public FaultCase<const char*> {};

TEST_P(TextureImageFault, StartsAndTheRestStillDraws) {
    const auto& [stem, fault] = GetParam();
    DataCopy data;
    fault.inject(data.path() / "Models/textures" / (std::string(stem) + ".jpg"));

    const StartView view = captureStartView(data);
    expectCleanStart(view);
    expectLit(view.frame);
    if (fault.expects != nullptr) {
        const std::string image = "./Models/textures/" + std::string(stem) + fault.expects;
        EXPECT_TRUE(contains(view.run.standardOutput,
                             image + " could not be opened. Are you in the right directory ?\n"))
            << view.run.standardOutput;
    }
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, TextureImageFault,
                         ::testing::Combine(::testing::ValuesIn(textureStems),
                                            ::testing::ValuesIn(textureFaults)),
                         caseName);

} // namespace
