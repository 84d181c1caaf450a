# The browser (scripts/build-web.sh configures it with emcmake into build-web/): WebGL2 through
# Emscripten's GLFW 3 and GLEW stand-ins, Assimp's OBJ importer built for WebAssembly into
# build-web/deps (scripts/build-web-deps.sh), stb_image for the textures. The output is a static
# folder, build-web/site/, that holds the page's files and nothing else: index.html, index.js,
# index.wasm and index.data (the Models/ and Shader/ folders, unpacked at the root of the page's
# file system, which is its working directory).
set(QUIVERFALL_WEB_DEPS "${CMAKE_CURRENT_SOURCE_DIR}/build-web/deps" CACHE PATH
  "Prefix of the WebAssembly libraries (scripts/build-web-deps.sh)")
find_package(assimp CONFIG REQUIRED PATHS "${QUIVERFALL_WEB_DEPS}/lib/cmake" NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)

include(cmake/HeaderOnlyLibraries.cmake)

# Exceptions on: Assimp reports a broken file by throwing, and the shader reader catches a
# failed read.
add_compile_options(-fexceptions)
target_include_directories(quiverfall_libraries INTERFACE ${QUIVERFALL_HEADER_ONLY})
target_link_libraries(quiverfall_libraries INTERFACE assimp::assimp)

function(quiverfall_program_settings program)
  # The page's test probes: in the program itself, where the linker keeps their exports.
  target_sources(${program} PRIVATE app/PageProbes.cpp)
  target_link_options(${program} PRIVATE
    -fexceptions
    -sUSE_GLFW=3 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    # The room's import takes tens of MB at its peak.
    -sALLOW_MEMORY_GROWTH=1
    # Emscripten 3.1.6's HTML minifier fails on Debian.
    -sMINIFY_HTML=0
    "--shell-file=${CMAKE_CURRENT_SOURCE_DIR}/web/shell.html"
    "--preload-file=${CMAKE_CURRENT_SOURCE_DIR}/Models@/Models"
    "--preload-file=${CMAKE_CURRENT_SOURCE_DIR}/Shader@/Shader")
  # The page and the packed data are made at the link: it runs again when either changes.
  file(GLOB_RECURSE web_data CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Models/*
    ${CMAKE_CURRENT_SOURCE_DIR}/Shader/*)
  set_target_properties(${program} PROPERTIES OUTPUT_NAME index SUFFIX ".html"
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/site"
    LINK_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/web/shell.html;${web_data}")
endfunction()
