# glm and stb are header-only, and a build for another target (the browser, Windows) needs their
# folders only, not all of the host's /usr/include: linked into one folder of the build,
# QUIVERFALL_HEADER_ONLY, to add to the include path.
find_path(QUIVERFALL_GLM_INCLUDE glm/glm.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
  NO_DEFAULT_PATH REQUIRED)
find_path(QUIVERFALL_STB_INCLUDE stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
  NO_DEFAULT_PATH REQUIRED)
set(QUIVERFALL_HEADER_ONLY "${CMAKE_CURRENT_BINARY_DIR}/header-only")
file(MAKE_DIRECTORY "${QUIVERFALL_HEADER_ONLY}")
file(CREATE_LINK "${QUIVERFALL_GLM_INCLUDE}/glm" "${QUIVERFALL_HEADER_ONLY}/glm" SYMBOLIC)
file(CREATE_LINK "${QUIVERFALL_STB_INCLUDE}/stb" "${QUIVERFALL_HEADER_ONLY}/stb" SYMBOLIC)
