# The Linux (and macOS) desktop: GLFW, GLEW, Assimp and FreeImage as the system installs them
# (Debian's -dev packages, Homebrew), and the program's optional GL debug report.
find_package(OpenGL REQUIRED)
find_package(GLEW REQUIRED)
find_package(glfw3 3.2 REQUIRED)
find_package(assimp REQUIRED)
find_package(glm CONFIG REQUIRED)
# FreeImage installs no CMake package: its header and library are looked for by name, in the
# system's prefixes and in Homebrew's and MacPorts' (not searched by default on every Mac).
set(FREEIMAGE_PREFIXES /opt/homebrew /usr/local /opt/local)
find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h PATHS ${FREEIMAGE_PREFIXES} PATH_SUFFIXES include)
find_library(FREEIMAGE_LIBRARY NAMES freeimage FreeImage PATHS ${FREEIMAGE_PREFIXES}
  PATH_SUFFIXES lib)
if(NOT FREEIMAGE_INCLUDE_DIR OR NOT FREEIMAGE_LIBRARY)
  message(FATAL_ERROR "FreeImage not found: install it (Debian: libfreeimage-dev, Homebrew: "
    "freeimage) or give its prefix in CMAKE_PREFIX_PATH")
endif()

target_include_directories(quiverfall_libraries INTERFACE ${FREEIMAGE_INCLUDE_DIR})
target_link_libraries(quiverfall_libraries INTERFACE GLEW::GLEW glfw OpenGL::GL assimp::assimp
  glm::glm ${FREEIMAGE_LIBRARY})

function(quiverfall_program_settings program)
  if(QUIVERFALL_GL_DEBUG)
    target_compile_definitions(${program} PRIVATE QUIVERFALL_GL_DEBUG)
    # The reported stacks name our functions only when the program exports its symbols.
    set_target_properties(${program} PROPERTIES ENABLE_EXPORTS ON)
  endif()
endfunction()
