# zc_add_library(NAME [INCLUDE_PREFIX dir] [INSTALL] PUBLIC_HEADERS h... SOURCES s...
#                [PUBLIC_LINK lib...] [PRIVATE_LINK lib...])
#
# Builds the static library zc_NAME (alias zc::NAME) from explicit file lists:
# headers under include/PREFIX/ (PREFIX is NAME unless INCLUDE_PREFIX says
# otherwise) are its public face, included as <PREFIX/header.h>; everything
# under src/ is private. zc::NAME_internal adds src/ to the include path, for
# the tests, benchmarks and fuzzers that reach the stages. Configuring fails when a
# listed file is missing or a file on disk is in neither list, so a library
# never loses a source (or a whole target) without anyone noticing.
#
# INSTALL also makes the library a product for other projects: the same objects
# (compiled once, position-independent) as the versioned shared library
# libzc_NAME.so, installed with its public headers only, in the CMake package
# ZelvoriaColorTest (imported target zc::NAME) and as pkg-config module zc_NAME.
# The program and the tools link the static library.
function(zc_add_library name)
  cmake_parse_arguments(ARG "INSTALL" "INCLUDE_PREFIX"
    "PUBLIC_HEADERS;SOURCES;PUBLIC_LINK;PRIVATE_LINK" ${ARGN})
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

  if(NOT ARG_INSTALL)
    add_library(zc_${name} STATIC ${listed})
    zc_library_usage(zc_${name} "${ARG_PUBLIC_LINK}" "${ARG_PRIVATE_LINK}")
  else()
    add_library(zc_${name}_objects OBJECT ${listed})
    set_target_properties(zc_${name}_objects PROPERTIES POSITION_INDEPENDENT_CODE ON)
    zc_library_usage(zc_${name}_objects "${ARG_PUBLIC_LINK}" "${ARG_PRIVATE_LINK}")
    add_library(zc_${name} STATIC $<TARGET_OBJECTS:zc_${name}_objects>)
    zc_library_usage(zc_${name} "${ARG_PUBLIC_LINK}" "${ARG_PRIVATE_LINK}")
    zc_install_library(${name} "${ARG_INCLUDE_PREFIX}" "${ARG_PUBLIC_LINK}" "${ARG_PRIVATE_LINK}")
  endif()
  add_library(zc::${name} ALIAS zc_${name})
  set_target_properties(zc_${name} PROPERTIES ZC_PUBLIC_HEADERS "${ARG_PUBLIC_HEADERS}")

  add_library(zc_${name}_internal INTERFACE)
  add_library(zc::${name}_internal ALIAS zc_${name}_internal)
  target_include_directories(zc_${name}_internal INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(zc_${name}_internal INTERFACE zc_${name})
endfunction()

# The include paths and links every variant of a library gets.
function(zc_library_usage target public_links private_links)
  target_include_directories(${target}
    PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${public_links} PRIVATE zc_warnings ${private_links})
endfunction()

# zc::X as the installed world sees it: the shared library of zc_X.
function(zc_shared_links out)
  set(links)
  foreach(lib IN LISTS ARGN)
    if(lib MATCHES "^zc::(.+)$")
      list(APPEND links zc_${CMAKE_MATCH_1}_shared)
    else()
      list(APPEND links ${lib})
    endif()
  endforeach()
  set(${out} ${links} PARENT_SCOPE)
endfunction()

# The shared library, its headers, its place in the CMake package and its .pc file.
function(zc_install_library name include_prefix public_links private_links)
  set(shared zc_${name}_shared)
  add_library(${shared} SHARED $<TARGET_OBJECTS:zc_${name}_objects>)
  zc_shared_links(public_shared ${public_links})
  zc_shared_links(private_shared ${private_links})
  target_include_directories(${shared} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${shared} PUBLIC ${public_shared} PRIVATE ${private_shared})
  # $ORIGIN: each finds the others it needs beside it, wherever the installation lies.
  set_target_properties(${shared} PROPERTIES OUTPUT_NAME zc_${name} EXPORT_NAME ${name}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${shared} EXPORT ZelvoriaColorTestTargets COMPONENT libraries
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/include/${include_prefix}
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT libraries)

  # pkg-config: Qt's modules by their .pc names, ours as zc_X; paths relative to the .pc.
  set(requires)
  set(requires_private)
  foreach(kind public private)
    foreach(lib IN LISTS ${kind}_links)
      if(lib MATCHES "^zc::(.+)$")
        set(module zc_${CMAKE_MATCH_1})
      elseif(lib MATCHES "^Qt6::(.+)$")
        set(module Qt6${CMAKE_MATCH_1})
      else()
        continue()
      endif()
      if(kind STREQUAL "public")
        list(APPEND requires ${module})
      else()
        list(APPEND requires_private ${module})
      endif()
    endforeach()
  endforeach()
  list(JOIN requires " " ZC_PC_REQUIRES)
  list(JOIN requires_private " " ZC_PC_REQUIRES_PRIVATE)
  file(RELATIVE_PATH ZC_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  set(ZC_PC_NAME zc_${name})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/zc-library.pc.in
    ${PROJECT_BINARY_DIR}/pkgconfig/zc_${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/zc_${name}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT libraries)
endfunction()
