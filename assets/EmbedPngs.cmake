# Writes OUTPUT, a C++ source that holds the bytes of every file in INPUTS
# (a list of paths) and answers EmbeddedPngs() with them, named by their file
# names. Run by the build whenever a picture changes:
#   cmake -DOUTPUT=EmbeddedPngs.cpp "-DINPUTS=a.png;b.png" -P EmbedPngs.cmake
cmake_minimum_required(VERSION 3.25)

string(REPEAT "0x[0-9a-f][0-9a-f]," 16 sixteen)
set(arrays "")
set(entries "")
set(index 0)
foreach(input IN LISTS INPUTS)
  get_filename_component(name "${input}" NAME)
  file(READ "${input}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Sixteen bytes to a line (CMake's expressions have no counted repeats).
  string(REGEX REPLACE "(${sixteen})" "\\1\n    " bytes "${bytes}")
  string(STRIP "${bytes}" bytes)
  string(APPEND arrays "// ${name}\nconstexpr std::uint8_t kPng${index}[] = {\n    ${bytes}\n};\n\n")
  string(APPEND entries "    {\"${name}\", kPng${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()

if(index EQUAL 0)
  message(FATAL_ERROR "EmbedPngs.cmake: no pictures given")
endif()

set(source "// Made by assets/EmbedPngs.cmake from the PNG files in assets/; not to be edited.
#include \"assets/EmbeddedPngs.h\"

namespace pellmora::pictures {

namespace {

${arrays}constexpr EmbeddedFile kFiles[] = {
${entries}};

}  // namespace

std::span<const EmbeddedFile> EmbeddedPngs() {
  return kFiles;
}

}  // namespace pellmora::pictures
")

file(WRITE "${OUTPUT}" "${source}")
