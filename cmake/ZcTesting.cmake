# zc_add_gtest(NAME SOURCES src... LIBS lib... [GUI])
#
# Builds one GoogleTest executable and registers its cases with ctest.
# Cases are discovered when ctest runs (not at build time), so test
# programs that need a display only ever start under the test runner.
# GUI links the main that creates a QApplication, otherwise a
# QCoreApplication main is used.
function(zc_add_gtest name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE zc_testmain_gui)
  else()
    target_link_libraries(${name} PRIVATE zc_testmain_core)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test GTest::gtest GTest::gmock zc_warnings)
  target_compile_definitions(${name} PRIVATE
    ZC_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    ZC_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZC_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${name}")
endfunction()

# zc_add_gtests_in_dir(PREFIX LIBS lib... [GUI])
#
# Registers every *-test.cpp of the current folder as its own test
# executable named PREFIX-<file stem>, so that adding a test file needs
# no edit here.
function(zc_add_gtests_in_dir prefix)
  cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*-test.cpp)
  foreach(src IN LISTS test_sources)
    get_filename_component(stem ${src} NAME_WE)
    if(ARG_GUI)
      zc_add_gtest(${prefix}-${stem} SOURCES ${src} LIBS ${ARG_LIBS} GUI)
    else()
      zc_add_gtest(${prefix}-${stem} SOURCES ${src} LIBS ${ARG_LIBS})
    endif()
  endforeach()
endfunction()
