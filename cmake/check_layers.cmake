# The layer rules the include roots cannot enforce, checked over the sources
# on every build:
# - no include climbs out of its folder: "../shell/shell_state.h" would reach
#   a layer the library does not link;
# - only src/platform/ includes Qt or SDL, whose headers lie on the system's
#   include path where every library finds them. A header is refused by its
#   name and by the folder it resolves into, as the compiler would find it,
#   so that neither another spelling (<qstring.h>, <qt6/QtCore/qstring.h>,
#   an absolute path, a link) nor an include the check cannot read (a macro)
#   gets round the rule.
# Usage: cmake -DZARV_ROOT=<source tree> -DZARV_LAYER_DIRS=<file> -P check_layers.cmake
# where the file (written by the build) sets ZARV_INCLUDE_DIRS, the folders
# the compiler searches, and ZARV_PLATFORM_HEADER_DIRS, those holding the
# Qt and SDL headers.
if(NOT ZARV_ROOT)
  message(FATAL_ERROR "check_layers.cmake: ZARV_ROOT not given")
endif()
if(NOT ZARV_LAYER_DIRS OR NOT EXISTS "${ZARV_LAYER_DIRS}")
  message(FATAL_ERROR "check_layers.cmake: ZARV_LAYER_DIRS not given or missing")
endif()
include("${ZARV_LAYER_DIRS}")

set(platform_roots "")
foreach(dir ${ZARV_PLATFORM_HEADER_DIRS})
  file(REAL_PATH "${dir}" real)
  list(APPEND platform_roots "${real}")
endforeach()

# True in `out` when `path` lies in one of the folders of Qt or SDL.
function(zarv_in_platform_headers path out)
  file(REAL_PATH "${path}" real)
  foreach(root ${platform_roots})
    string(LENGTH "${root}/" n)
    string(SUBSTRING "${real}" 0 ${n} head)
    if(head STREQUAL "${root}/")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# The file an include names, searched as the compiler does: beside the
# including file for "..." includes, then the layers' include roots (a
# library's root links its folders of src/ under their own names; the tools
# add tools/), then the compiler's folders. Empty when it is found nowhere.
function(zarv_resolve file header quoted out)
  if(IS_ABSOLUTE "${header}")
    set(candidates "${header}")
  else()
    set(candidates "")
    if(quoted)
      get_filename_component(own "${file}" DIRECTORY)
      list(APPEND candidates "${own}/${header}")
    endif()
    list(APPEND candidates "${ZARV_ROOT}/src/${header}" "${ZARV_ROOT}/tools/${header}")
    foreach(dir ${ZARV_INCLUDE_DIRS})
      list(APPEND candidates "${dir}/${header}")
    endforeach()
  endif()
  foreach(candidate ${candidates})
    if(EXISTS "${candidate}" AND NOT IS_DIRECTORY "${candidate}")
      set(${out} "${candidate}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files ${ZARV_ROOT}/src/*.h ${ZARV_ROOT}/src/*.cpp ${ZARV_ROOT}/tools/*.h ${ZARV_ROOT}/tools/*.cpp)
set(refused "")
foreach(file ${files})
  file(RELATIVE_PATH name ${ZARV_ROOT} ${file})
  set(platform FALSE)
  if(name MATCHES "^src/platform/")
    set(platform TRUE)
  endif()
  file(STRINGS ${file} directives REGEX "^[ \t]*#")
  foreach(line ${directives})
    # A comment between the hash and the word still makes a directive.
    string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " line "${line}")
    if(NOT line MATCHES "^[ \t]*#[ \t]*(include|include_next|import)([^A-Za-z0-9_]|$)")
      continue()
    endif()
    if(NOT line MATCHES "^[ \t]*#[ \t]*[a-z_]+[ \t]*([\"<])([^\">]*)[\">]")
      if(NOT platform)
        string(STRIP "${line}" text)
        string(APPEND refused "  ${name}: \"${text}\" names no header the check can follow\n")
      endif()
      continue()
    endif()
    set(quoted FALSE)
    if(CMAKE_MATCH_1 STREQUAL "\"")
      set(quoted TRUE)
    endif()
    set(header "${CMAKE_MATCH_2}")
    if(header MATCHES "(^|/)\\.\\.(/|$)")
      string(APPEND refused "  ${name}: ${header} climbs out of its folder\n")
      continue()
    endif()
    if(platform)
      continue()
    endif()
    if(header MATCHES "^(SDL|Qt|Q[A-Z]|qt[0-9]?/)")
      string(APPEND refused "  ${name}: ${header} belongs to src/platform/ alone\n")
      continue()
    endif()
    zarv_resolve("${file}" "${header}" ${quoted} found)
    if(found)
      zarv_in_platform_headers("${found}" inside)
      if(inside)
        string(APPEND refused "  ${name}: ${header} (${found}) belongs to src/platform/ alone\n")
      endif()
    endif()
  endforeach()
endforeach()
if(refused)
  message(FATAL_ERROR "Includes that break the layer rules (see README, Layout):\n${refused}")
endif()
