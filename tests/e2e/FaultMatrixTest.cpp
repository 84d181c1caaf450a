// Start-up with one broken data file at a time, from a working directory holding copies of
// Shader/ and Models/. A broken shader source stops the program with status 1 and its own line
// before any later program is built; a broken model or texture costs at most its own part of
// the picture, never the process.
#include "support/ImageCompare.h"
#include "support/Process.h"
#include "support/ReadFile.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::string captureTool =
    (fs::path(QUIVERFALL_EXECUTABLE).parent_path() / "tools/capture/quiverfall-capture").string();

// Start-up failures happen before the first frame, and the capture tool's --start-only run is
// set-up plus one frame; both take a few seconds on software GL, this leaves ample room.
constexpr double runTimeoutSeconds = 120.0;

const std::string glErrorLine = "GL ERROR DETECTED!!";

void writeFile(const fs::path& path, const std::string& contents) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
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

// A test name part from a file name: "shadowMap.vert" -> "shadowMap_vert".
std::string identifier(std::string name) {
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// A working directory with copies of the run-time data, ready for one fault.
class DataCopy {
  public:
    DataCopy() {
        directory_.copyFromSource("Shader");
        directory_.copyFromSource("Models");
    }

    fs::path path(const std::string& relativePath) const {
        return directory_.path() / relativePath;
    }
    const fs::path& root() const { return directory_.path(); }

  private:
    TempDirectory directory_;
};

// --- Shader sources --------------------------------------------------------------------------

enum class ShaderFault { Missing, Empty, CompileError, LinkError };

struct ShaderCase {
    std::string file;
    ShaderFault fault;
};

// A file of a later program, broken as well: it must never be reported, because the program
// stops at the first failure. The blur program comes last and has no later file; for the
// post-process program the later file is the blur program's own fragment source, since the
// blur program opens postProcess.vert again first.
std::string laterProgramFile(const std::string& file) {
    if (file.rfind("standardShading.", 0) == 0) {
        return "shadowMap.vert";
    }
    if (file.rfind("shadowMap.", 0) == 0) {
        return "postProcess.vert";
    }
    if (file.rfind("postProcess.", 0) == 0) {
        return "blurShader.frag";
    }
    return "";
}

const char* const undeclaredName = "undeclaredCompileFault";
const char* const undefinedFunction = "undefinedLinkFault";

// Compiles: the function is declared, and only the linker finds that it has no body.
std::string withLinkError(const std::string& source) {
    return replaceAll(source, "void main(", "void originalMain(") + "\nvoid " + undefinedFunction +
           "();\nvoid main() {\n    originalMain();\n    " + undefinedFunction + "();\n}\n";
}

std::string withCompileError(const std::string& source) {
    return source + "\nfloat compileFault() { return " + undeclaredName + "; }\n";
}

void injectShaderFault(const DataCopy& data, const std::string& file, ShaderFault fault) {
    const fs::path path = data.path("Shader/" + file);
    switch (fault) {
    case ShaderFault::Missing:
        fs::remove(path);
        break;
    case ShaderFault::Empty:
        writeFile(path, "");
        break;
    case ShaderFault::CompileError:
        writeFile(path, withCompileError(readFile(path)));
        break;
    case ShaderFault::LinkError:
        writeFile(path, withLinkError(readFile(path)));
        break;
    }
}

std::string shaderFaultName(ShaderFault fault) {
    switch (fault) {
    case ShaderFault::Missing:
        return "Missing";
    case ShaderFault::Empty:
        return "Empty";
    case ShaderFault::CompileError:
        return "CompileError";
    case ShaderFault::LinkError:
        return "LinkError";
    }
    return "";
}

void PrintTo(const ShaderCase& c, std::ostream* out) {
    *out << c.file << " " << shaderFaultName(c.fault);
}

class ShaderSourceFault : public ::testing::TestWithParam<ShaderCase> {};

TEST_P(ShaderSourceFault, StopsWithStatusOneAtTheFirstBrokenSource) {
    const ShaderCase& c = GetParam();
    DataCopy data;
    injectShaderFault(data, c.file, c.fault);
    const std::string later = laterProgramFile(c.file);
    if (!later.empty()) {
        fs::remove(data.path("Shader/" + later));
    }

    const ProgramRun run = runProgram(data.root(), runTimeoutSeconds);
    ASSERT_TRUE(run.exitStatus.has_value()) << "the program did not stop by itself";
    ASSERT_NE(*run.exitStatus, -1) << "a signal ended the program\n" << run.standardError;
    EXPECT_EQ(*run.exitStatus, 1) << run.standardOutput << run.standardError;

    switch (c.fault) {
    case ShaderFault::Missing:
        EXPECT_EQ(run.standardOutput, "ERROR: Could not load file ./Shader/" + c.file + "\n");
        break;
    case ShaderFault::Empty:
        EXPECT_FALSE(run.standardOutput.empty()) << "no compile or link log";
        break;
    case ShaderFault::CompileError:
        EXPECT_TRUE(contains(run.standardOutput, undeclaredName)) << run.standardOutput;
        break;
    case ShaderFault::LinkError:
        EXPECT_TRUE(contains(run.standardOutput, undefinedFunction)) << run.standardOutput;
        break;
    }
    if (c.fault != ShaderFault::Missing) {
        EXPECT_FALSE(contains(run.standardOutput, "ERROR: Could not load file"))
            << "a later program was built after the failure:\n"
            << run.standardOutput;
    }
    EXPECT_FALSE(contains(run.standardOutput, glErrorLine));
}

std::vector<ShaderCase> shaderCases() {
    std::vector<ShaderCase> cases;
    for (const char* file :
         {"standardShading.vert", "standardShading.frag", "shadowMap.vert", "shadowMap.frag",
          "postProcess.vert", "postProcess.frag", "blurShader.frag"}) {
        for (ShaderFault fault : {ShaderFault::Missing, ShaderFault::Empty,
                                  ShaderFault::CompileError, ShaderFault::LinkError}) {
            cases.push_back({file, fault});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, ShaderSourceFault, ::testing::ValuesIn(shaderCases()),
                         [](const ::testing::TestParamInfo<ShaderCase>& info) {
                             return identifier(info.param.file) + "_" +
                                    shaderFaultName(info.param.fault);
                         });

// --- The capture tool's start view -----------------------------------------------------------

struct StartView {
    ProgramRun run;
    Picture frame;
};

// Set-up discards one pending GL error before the first frame, so a fault that makes a GL call
// fail while assets load would go unseen by the frame's check. Mesa names every failed call on
// standard error when MESA_DEBUG is set; the child inherits it for the run.
class MesaErrorReport {
  public:
    MesaErrorReport() {
        const char* previous = std::getenv(variable);
        if (previous != nullptr) {
            previous_ = previous;
        }
        setenv(variable, "1", 1);
    }
    ~MesaErrorReport() {
        if (previous_) {
            setenv(variable, previous_->c_str(), 1);
        } else {
            unsetenv(variable);
        }
    }
    MesaErrorReport(const MesaErrorReport&) = delete;
    MesaErrorReport& operator=(const MesaErrorReport&) = delete;

  private:
    static constexpr const char* variable = "MESA_DEBUG";
    std::optional<std::string> previous_;
};

const std::string mesaErrorText = "Mesa: User error";

StartView captureStartView(const DataCopy& data) {
    const fs::path out = data.path("frames");
    const MesaErrorReport mesaErrors;
    Process tool(captureTool, {"--start-only", "--quiet", "--no-sheet", "--out", out.string()},
                 data.root());
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

// The running test's own name, for the pictures a failure leaves behind.
std::string currentTestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "_" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// A picture that fails a check is written out for a person to look at.
void expectLit(const Picture& frame) {
    const double share = litShare(frame);
    if (share <= minimumLitShare) {
        ADD_FAILURE() << "only " << share << " of the window is lit; picture in "
                      << writeFailureImages(currentTestName(), frame, Picture());
    }
}

void expectBlack(const Picture& frame, const std::string& why) {
    if (!isBlack(frame, darkestUnlit)) {
        const double share = litShare(frame);
        ADD_FAILURE() << why << ": " << share << " of the window is lit; picture in "
                      << writeFailureImages(currentTestName(), frame, Picture());
    }
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
    const fs::path shader = data.path("Shader/standardShading.frag");
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

enum class ModelFault { Missing, Truncated, RandomBytes, NoNormals, PointsAndLines, LargeMesh };

struct ModelCase {
    std::string file;
    ModelFault fault;
};

std::string withoutNormals(const std::string& obj) {
    std::istringstream lines(obj);
    std::string result;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("vn ", 0) == 0) {
            continue;
        }
        if (line.rfind("f ", 0) == 0) {
            // "v/t/n" corners become "v/t".
            std::istringstream corners(line.substr(2));
            std::string corner;
            line = "f";
            while (corners >> corner) {
                const size_t second = corner.find('/', corner.find('/') + 1);
                line += " " + corner.substr(0, second);
            }
        }
        result += line + "\n";
    }
    return result;
}

// Points, lines and faces with one and two corners, both in the file's last group (next to its
// triangles) and in a group of their own. Every file has at least three positions, texture
// coordinates and one normal.
std::string withPointsAndLines(const std::string& obj) {
    return obj + "\np 1\nl 1 2\nf 2/2/1\nf 1/1/1 3/3/1\n"
                 "o fault_points_and_lines\np 1 2 3\nl 1 2 3\nf 3/3/1\nf 2/2/1 1/1/1\n";
}

int countLinesStartingWith(const std::string& text, const std::string& start) {
    int count = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        count += line.rfind(start, 0) == 0 ? 1 : 0;
    }
    return count;
}

// One group of 22,000 triangles: the importer gives one vertex per corner, 66,000 in one mesh,
// more than a 16-bit index can count. The grid lies below the floor, out of the start view.
std::string withLargeMesh(const std::string& obj) {
    const int positionCount = countLinesStartingWith(obj, "v ");
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

std::string randomBytes(size_t count) {
    // A fixed seed: mt19937's sequence is the same on every platform.
    std::mt19937 generator(20240611u);
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator() & 0xffu);
    }
    return bytes;
}

void injectModelFault(const DataCopy& data, const std::string& file, ModelFault fault) {
    const fs::path path = data.path("Models/" + file);
    const std::string obj = readFile(path);
    switch (fault) {
    case ModelFault::Missing:
        fs::remove(path);
        break;
    case ModelFault::Truncated:
        writeFile(path, obj.substr(0, obj.size() / 2));
        break;
    case ModelFault::RandomBytes:
        writeFile(path, randomBytes(obj.size()));
        break;
    case ModelFault::NoNormals:
        writeFile(path, withoutNormals(obj));
        break;
    case ModelFault::PointsAndLines:
        writeFile(path, withPointsAndLines(obj));
        break;
    case ModelFault::LargeMesh:
        writeFile(path, withLargeMesh(obj));
        break;
    }
}

std::string modelFaultName(ModelFault fault) {
    switch (fault) {
    case ModelFault::Missing:
        return "Missing";
    case ModelFault::Truncated:
        return "Truncated";
    case ModelFault::RandomBytes:
        return "RandomBytes";
    case ModelFault::NoNormals:
        return "NoNormals";
    case ModelFault::PointsAndLines:
        return "PointsAndLines";
    case ModelFault::LargeMesh:
        return "LargeMesh";
    }
    return "";
}

void PrintTo(const ModelCase& c, std::ostream* out) {
    *out << c.file << " " << modelFaultName(c.fault);
}

class ModelFileFault : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelFileFault, StartsWithoutCrashing) {
    const ModelCase& c = GetParam();
    DataCopy data;
    injectModelFault(data, c.file, c.fault);

    const StartView view = captureStartView(data);
    expectCleanStart(view);
    if (c.fault == ModelFault::Missing) {
        EXPECT_TRUE(contains(view.run.standardError, "./Models/" + c.file))
            << "no import error text on standard error: " << view.run.standardError;
    }
    // Random bytes and a cut-off file may be refused by the importer (its error text on standard
    // error) or read as a file with fewer or no meshes; either way the run goes on. Without the
    // room's meshes there is nothing to draw and nothing to bloom, so the picture is black;
    // otherwise the room still draws.
    const bool roomLost = c.file == "room.obj" &&
                          (c.fault == ModelFault::Missing || c.fault == ModelFault::RandomBytes ||
                           !view.run.standardError.empty());
    if (roomLost) {
        expectBlack(view.frame, "something was drawn without the room");
    } else {
        expectLit(view.frame);
    }
}

std::vector<ModelCase> modelCases() {
    std::vector<ModelCase> cases;
    for (const char* file : {"room.obj", "arrow1.obj", "arrow2.obj", "arrow3.obj"}) {
        for (ModelFault fault :
             {ModelFault::Missing, ModelFault::Truncated, ModelFault::RandomBytes,
              ModelFault::NoNormals, ModelFault::PointsAndLines, ModelFault::LargeMesh}) {
            cases.push_back({file, fault});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, ModelFileFault, ::testing::ValuesIn(modelCases()),
                         [](const ::testing::TestParamInfo<ModelCase>& info) {
                             return identifier(info.param.file) + "_" +
                                    modelFaultName(info.param.fault);
                         });

// --- Texture images --------------------------------------------------------------------------

enum class TextureFault {
    Missing,
    UnknownFormat,
    Grey8,
    Rgba32,
    Palettised,
    Rgb565,
    Grey16,
    ZeroSized,
    Truncated
};

struct TextureCase {
    std::string stem; // under Models/textures/, a JPEG that the materials name
    TextureFault fault;
};

// Every material file that names `from` names `to` instead.
void renameInMaterials(const DataCopy& data, const std::string& from, const std::string& to) {
    for (const fs::directory_entry& entry : fs::directory_iterator(data.path("Models"))) {
        if (entry.path().extension() == ".mtl") {
            writeFile(entry.path(), replaceAll(readFile(entry.path()), from, to));
        }
    }
}

// The image converted by FreeImage, saved as `format`; null conversions fail the test.
struct Conversion {
    const char* suffix;
    FREE_IMAGE_FORMAT format;
    FIBITMAP* (*convert)(FIBITMAP*);
};

Conversion conversionFor(TextureFault fault) {
    switch (fault) {
    case TextureFault::Grey8:
        return {"_grey8.png", FIF_PNG,
                [](FIBITMAP* image) { return FreeImage_ConvertToGreyscale(image); }};
    case TextureFault::Rgba32:
        return {"_rgba32.png", FIF_PNG, [](FIBITMAP* image) {
                    FIBITMAP* rgba = FreeImage_ConvertTo32Bits(image);
                    // Half transparent, so the alpha channel carries something.
                    FIBITMAP* alpha =
                        FreeImage_Allocate(FreeImage_GetWidth(rgba), FreeImage_GetHeight(rgba), 8);
                    for (unsigned y = 0; y < FreeImage_GetHeight(alpha); ++y) {
                        std::fill_n(FreeImage_GetScanLine(alpha, static_cast<int>(y)),
                                    FreeImage_GetWidth(alpha), 128);
                    }
                    FreeImage_SetChannel(rgba, alpha, FICC_ALPHA);
                    FreeImage_Unload(alpha);
                    return rgba;
                }};
    case TextureFault::Palettised:
        return {"_palette.png", FIF_PNG,
                [](FIBITMAP* image) { return FreeImage_ColorQuantize(image, FIQ_WUQUANT); }};
    case TextureFault::Rgb565:
        return {"_rgb565.bmp", FIF_BMP,
                [](FIBITMAP* image) { return FreeImage_ConvertTo16Bits565(image); }};
    case TextureFault::Grey16:
        return {"_grey16.png", FIF_PNG,
                [](FIBITMAP* image) { return FreeImage_ConvertToType(image, FIT_UINT16, TRUE); }};
    default:
        return {"", FIF_UNKNOWN, nullptr};
    }
}

// Writes the texture in another pixel layout and points the materials at it; returns the path
// the loader will be given.
std::string writeConvertedTexture(const DataCopy& data, const std::string& stem,
                                  TextureFault fault) {
    const Conversion conversion = conversionFor(fault);
    const std::string original = "textures/" + stem + ".jpg";
    const std::string replacement = "textures/" + stem + conversion.suffix;
    FIBITMAP* source = FreeImage_Load(FIF_JPEG, data.path("Models/" + original).c_str(), 0);
    EXPECT_NE(source, nullptr);
    FIBITMAP* converted = source != nullptr ? conversion.convert(source) : nullptr;
    EXPECT_NE(converted, nullptr);
    if (converted != nullptr) {
        EXPECT_TRUE(FreeImage_Save(conversion.format, converted,
                                   data.path("Models/" + replacement).c_str(), 0));
        FreeImage_Unload(converted);
    }
    if (source != nullptr) {
        FreeImage_Unload(source);
    }
    renameInMaterials(data, original, replacement);
    return "./Models/" + replacement;
}

// Injects the fault; returns the path the loader is given for the broken image.
std::string injectTextureFault(const DataCopy& data, const std::string& stem, TextureFault fault) {
    const std::string original = "textures/" + stem + ".jpg";
    const fs::path path = data.path("Models/" + original);
    switch (fault) {
    case TextureFault::Missing:
        fs::remove(path);
        break;
    case TextureFault::UnknownFormat: {
        const std::string junk = "textures/" + stem + ".xyz";
        writeFile(data.path("Models/" + junk), "not an image of any kind\n" + randomBytes(4096));
        renameInMaterials(data, original, junk);
        return "./Models/" + junk;
    }
    case TextureFault::ZeroSized:
        writeFile(path, "");
        break;
    case TextureFault::Truncated: {
        const std::string image = readFile(path);
        writeFile(path, image.substr(0, image.size() / 2));
        break;
    }
    default:
        return writeConvertedTexture(data, stem, fault);
    }
    return "./Models/" + original;
}

std::string textureFaultName(TextureFault fault) {
    switch (fault) {
    case TextureFault::Missing:
        return "Missing";
    case TextureFault::UnknownFormat:
        return "UnknownFormat";
    case TextureFault::Grey8:
        return "Grey8";
    case TextureFault::Rgba32:
        return "Rgba32";
    case TextureFault::Palettised:
        return "Palettised";
    case TextureFault::Rgb565:
        return "Rgb565";
    case TextureFault::Grey16:
        return "Grey16";
    case TextureFault::ZeroSized:
        return "ZeroSized";
    case TextureFault::Truncated:
        return "Truncated";
    }
    return "";
}

void PrintTo(const TextureCase& c, std::ostream* out) {
    *out << c.stem << " " << textureFaultName(c.fault);
}

class TextureImageFault : public ::testing::TestWithParam<TextureCase> {};

TEST_P(TextureImageFault, StartsAndTheRestStillDraws) {
    const TextureCase& c = GetParam();
    DataCopy data;
    const std::string loaderPath = injectTextureFault(data, c.stem, c.fault);
    if (HasFailure()) {
        return;
    }

    const StartView view = captureStartView(data);
    expectCleanStart(view);
    expectLit(view.frame);

    const std::string unreadable =
        loaderPath + " could not be opened. Are you in the right directory ?\n";
    switch (c.fault) {
    case TextureFault::Missing:
    case TextureFault::UnknownFormat:
    case TextureFault::ZeroSized:
        EXPECT_TRUE(contains(view.run.standardOutput, unreadable)) << view.run.standardOutput;
        break;
    case TextureFault::Truncated:
        // The decoder may keep what it read or refuse the file; both are fine.
        break;
    default:
        // Other pixel layouts are converted to 24 bits, not refused.
        EXPECT_FALSE(contains(view.run.standardOutput, unreadable)) << view.run.standardOutput;
        break;
    }
}

std::vector<TextureCase> textureCases() {
    std::vector<TextureCase> cases;
    // The room's floor, and the arrow shaft that the room and all three arrows name.
    for (const char* stem : {"floor_oak", "arrow_shaft"}) {
        for (TextureFault fault :
             {TextureFault::Missing, TextureFault::UnknownFormat, TextureFault::Grey8,
              TextureFault::Rgba32, TextureFault::Palettised, TextureFault::Rgb565,
              TextureFault::Grey16, TextureFault::ZeroSized, TextureFault::Truncated}) {
            cases.push_back({stem, fault});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, TextureImageFault, ::testing::ValuesIn(textureCases()),
                         [](const ::testing::TestParamInfo<TextureCase>& info) {
                             return info.param.stem + "_" + textureFaultName(info.param.fault);
                         });

} // namespace
