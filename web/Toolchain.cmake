# Settings of Debian's Emscripten (3.1.6) for every target of the browser build.

# C++ exceptions through JavaScript: the wasm exception proposal together with
# ASYNCIFY crashes this wasm-opt.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The linker runs Emscripten's JavaScript optimiser, which needs Debian's
# shared node modules (acorn) on NODE_PATH, whoever starts the build.
find_program(PELLMORA_NODE node REQUIRED)
set(PELLMORA_NODE_MODULES /usr/share/nodejs CACHE PATH "Debian's shared node modules")
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${PELLMORA_NODE_MODULES})

# Debian's header-only stb (the PNG decoder of the pictures) lies outside
# Emscripten's sysroot, where find_path looks when cross-compiling.
if(EXISTS /usr/include/stb/stb_image.h)
  set(PELLMORA_STB_INCLUDE_DIR /usr/include/stb CACHE PATH "stb_image.h's folder")
endif()
