# The Windows build of the same sources: the desktop program with the stb_image texture loader
# (FreeImage has no Windows build here), linked statically so that quiverfall.exe needs no DLL
# beyond Windows' own. scripts/build-windows.sh cross-compiles it with Debian's mingw-w64
# (cmake/mingw-w64-x86_64.cmake) against GLFW, GLEW and Assimp built into build-windows/deps
# (scripts/build-windows-deps.sh); on Windows, vcpkg gives the same packages (README).
set(QUIVERFALL_WINDOWS_DEPS "${CMAKE_CURRENT_SOURCE_DIR}/build-windows/deps" CACHE PATH
  "Prefix of the Windows libraries (scripts/build-windows-deps.sh)")
list(APPEND CMAKE_FIND_ROOT_PATH "${QUIVERFALL_WINDOWS_DEPS}")
list(APPEND CMAKE_PREFIX_PATH "${QUIVERFALL_WINDOWS_DEPS}")

find_package(OpenGL REQUIRED)
find_package(glfw3 3.2 CONFIG REQUIRED)
find_package(assimp CONFIG REQUIRED)
find_library(QUIVERFALL_GLEW_LIBRARY NAMES glew32s glew32 libglew32s REQUIRED)
find_path(QUIVERFALL_GLEW_INCLUDE GL/glew.h REQUIRED)
find_library(QUIVERFALL_MINIZIP_LIBRARY minizip)
find_library(QUIVERFALL_ZLIB_LIBRARY NAMES z zlib REQUIRED)

include(cmake/HeaderOnlyLibraries.cmake)

file(GLOB QUIVERFALL_SOURCES CONFIGURE_DEPENDS
  app/*.cpp render/*.cpp scene/*.cpp assets/*.cpp)
# The browser's platform, FreeImage's loader and the GL debug report (its stacks come from glibc's
# backtrace) stay out.
list(FILTER QUIVERFALL_SOURCES EXCLUDE REGEX
  ".*/(app/PlatformBrowser|assets/TextureLoader|render/GlDebugReport)\\.cpp$")

add_executable(quiverfall ${QUIVERFALL_SOURCES})
target_include_directories(quiverfall PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
  ${QUIVERFALL_HEADER_ONLY} ${QUIVERFALL_GLEW_INCLUDE})
target_compile_definitions(quiverfall PRIVATE GLEW_STATIC)
# Assimp's exported target names minizip and zlib without their folder.
target_link_directories(quiverfall PRIVATE "${QUIVERFALL_WINDOWS_DEPS}/lib")
target_link_libraries(quiverfall PRIVATE glfw assimp::assimp ${QUIVERFALL_GLEW_LIBRARY}
  OpenGL::GL ${QUIVERFALL_MINIZIP_LIBRARY} ${QUIVERFALL_ZLIB_LIBRARY})
if(MINGW)
  # No libstdc++, libgcc or winpthread DLL beside the program.
  target_link_options(quiverfall PRIVATE -static)
endif()
