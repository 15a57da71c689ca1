# The layer rules the include roots cannot enforce, checked over the sources
# on every build:
# - no include climbs out of its folder: "../shell/shell_state.h" would reach
#   a layer the library does not link;
# - only src/platform/ includes Qt or SDL, whose headers lie on the system's
#   include path where every library finds them.
# Usage: cmake -DZARV_ROOT=<source tree> -P check_layers.cmake
if(NOT ZARV_ROOT)
  message(FATAL_ERROR "check_layers.cmake: ZARV_ROOT not given")
endif()
file(GLOB_RECURSE files ${ZARV_ROOT}/src/*.h ${ZARV_ROOT}/src/*.cpp ${ZARV_ROOT}/tools/*.h ${ZARV_ROOT}/tools/*.cpp)
set(refused "")
foreach(file ${files})
  file(RELATIVE_PATH name ${ZARV_ROOT} ${file})
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "include[ \t]*[\"<]([^\">]*)[\">]")
      set(header "${CMAKE_MATCH_1}")
      if(header MATCHES "(^|/)\\.\\.(/|$)")
        string(APPEND refused "  ${name}: ${header} climbs out of its folder\n")
      elseif(NOT name MATCHES "^src/platform/" AND header MATCHES "^(SDL|Qt|Q[A-Z]|qt[0-9]?/)")
        string(APPEND refused "  ${name}: ${header} belongs to src/platform/ alone\n")
      endif()
    endif()
  endforeach()
endforeach()
if(refused)
  message(FATAL_ERROR "Includes that break the layer rules (see README, Layout):\n${refused}")
endif()
