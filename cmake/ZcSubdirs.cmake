# zc_add_child_dirs([EXCLUDE dir...])
#
# Adds every child folder of the current source folder that holds a
# CMakeLists.txt, in name order, so that a new tool, benchmark or test
# folder needs no edit of its parent.
function(zc_add_child_dirs)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} *)
  list(SORT children)
  foreach(dir IN LISTS children)
    if(NOT dir IN_LIST ARG_EXCLUDE AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
