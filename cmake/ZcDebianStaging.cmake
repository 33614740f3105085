# Run by cpack (CPACK_PRE_BUILD_SCRIPTS) on the staged installation, before the package is
# made: adds /usr/share/doc/<package>/{copyright,changelog.gz} and gzips the manual pages.
# A plain `cmake --install` keeps its manual pages as they are.
cmake_minimum_required(VERSION 3.25)

function(zc_gzip file) # replaces FILE by FILE.gz, without name or time stamp inside
  execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed: ${status}")
  endif()
endfunction()

# The staged tree: <temporary folder>[/<component>]/usr/...
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
set(usr)
foreach(dir IN LISTS staged)
  if(dir MATCHES "/usr/bin$" AND IS_DIRECTORY ${dir})
    get_filename_component(usr ${dir} DIRECTORY)
    break()
  endif()
endforeach()
if(NOT usr)
  message(FATAL_ERROR "no usr/bin under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()

set(doc ${usr}/share/doc/${CPACK_DEBIAN_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc})
file(COPY_FILE ${CPACK_ZC_DEBIAN_COPYRIGHT} ${doc}/copyright)
# A native package (no Debian revision): the changelog is changelog.gz, and its newest
# entry names the version being packaged.
file(STRINGS ${CPACK_ZC_DEBIAN_CHANGELOG} newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^${CPACK_DEBIAN_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog has no entry for version ${CPACK_PACKAGE_VERSION} "
                      "at the top: ${newest}")
endif()
file(COPY_FILE ${CPACK_ZC_DEBIAN_CHANGELOG} ${doc}/changelog)
zc_gzip(${doc}/changelog)

file(GLOB pages ${usr}/share/man/man*/*.[1-9])
foreach(page IN LISTS pages)
  zc_gzip(${page})
endforeach()
