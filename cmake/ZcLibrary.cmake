# zc_add_library(NAME [INCLUDE_PREFIX dir] PUBLIC_HEADERS h... SOURCES s...
#                [PUBLIC_LINK lib...] [PRIVATE_LINK lib...])
#
# Builds the static library zc_NAME (alias zc::NAME) from explicit file lists:
# headers under include/PREFIX/ (PREFIX is NAME unless INCLUDE_PREFIX says
# otherwise) are its public face, included as <PREFIX/header.h>; everything
# under src/ is private. zc::NAME_internal adds src/ to the include path, for
# the tests, benchmarks and fuzzers that reach the stages. Configuring fails when a
# listed file is missing or a file on disk is in neither list, so a library
# never loses a source (or a whole target) without anyone noticing.
function(zc_add_library name)
  cmake_parse_arguments(ARG "" "INCLUDE_PREFIX" "PUBLIC_HEADERS;SOURCES;PUBLIC_LINK;PRIVATE_LINK"
    ${ARGN})
  if(NOT ARG_INCLUDE_PREFIX)
    set(ARG_INCLUDE_PREFIX ${name})
  endif()
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "zc_add_library(${name}): no SOURCES")
  endif()
  set(listed ${ARG_PUBLIC_HEADERS} ${ARG_SOURCES})
  foreach(file IN LISTS listed)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${file})
      message(FATAL_ERROR "zc_add_library(${name}): ${file} is listed but does not exist")
    endif()
  endforeach()
  foreach(file IN LISTS ARG_PUBLIC_HEADERS)
    if(NOT file MATCHES "^include/${ARG_INCLUDE_PREFIX}/")
      message(FATAL_ERROR
        "zc_add_library(${name}): public header ${file} is not under include/${ARG_INCLUDE_PREFIX}/")
    endif()
  endforeach()
  # The lists are the truth; this glob only checks that nothing on disk was left out.
  file(GLOB_RECURSE on_disk CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/include/*.h ${CMAKE_CURRENT_SOURCE_DIR}/src/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  foreach(file IN LISTS on_disk)
    if(NOT file IN_LIST listed)
      message(FATAL_ERROR "zc_add_library(${name}): ${file} is in no list")
    endif()
  endforeach()

  add_library(zc_${name} STATIC ${listed})
  add_library(zc::${name} ALIAS zc_${name})
  target_include_directories(zc_${name}
    PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(zc_${name} PUBLIC ${ARG_PUBLIC_LINK} PRIVATE zc_warnings ${ARG_PRIVATE_LINK})
  set_target_properties(zc_${name} PROPERTIES ZC_PUBLIC_HEADERS "${ARG_PUBLIC_HEADERS}")

  add_library(zc_${name}_internal INTERFACE)
  add_library(zc::${name}_internal ALIAS zc_${name}_internal)
  target_include_directories(zc_${name}_internal INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(zc_${name}_internal INTERFACE zc_${name})
endfunction()
