# Windows: the desktop program with the stb_image texture loader (FreeImage has no Windows build
# here), linked statically so that quiverfall.exe needs no DLL beyond Windows' own.
# scripts/build-windows.sh cross-compiles it with Debian's mingw-w64
# (cmake/mingw-w64-x86_64.cmake) against GLFW, GLEW and Assimp built into build-windows/deps
# (scripts/build-windows-deps.sh); on Windows, vcpkg gives the same packages (docs/windows.md).
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

# SYSTEM, as /usr/include is on the desktop: stb_image_write's `= { 0 }` initialisers would
# otherwise warn under -Wextra, and the warnings we act on are our own code's.
target_include_directories(quiverfall_libraries SYSTEM INTERFACE ${QUIVERFALL_HEADER_ONLY}
  ${QUIVERFALL_GLEW_INCLUDE})
target_compile_definitions(quiverfall_libraries INTERFACE GLEW_STATIC)
# Assimp's exported target names minizip and zlib without their folder.
target_link_directories(quiverfall_libraries INTERFACE "${QUIVERFALL_WINDOWS_DEPS}/lib")
target_link_libraries(quiverfall_libraries INTERFACE glfw assimp::assimp
  ${QUIVERFALL_GLEW_LIBRARY} OpenGL::GL ${QUIVERFALL_MINIZIP_LIBRARY} ${QUIVERFALL_ZLIB_LIBRARY})

function(quiverfall_program_settings program)
  if(MINGW)
    # No libstdc++, libgcc or winpthread DLL beside the program.
    target_link_options(${program} PRIVATE -static)
  endif()
endfunction()
