# Runs lintian on the Debian package that CheckPackage.cmake built into OUT:
# no error and no warning may be left, and every tag overridden is listed
# with its reason in packaging/lintian-overrides. Information tags (such as
# hardening hints) do not fail the check. As root, lintian is told that this
# is meant, so that its notice about running as root stays out of the way.
#   cmake -DOUT=... -DPACKAGE_VERSION=... -P CheckLintian.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/SkipWithout.cmake)
skip_without(lintian lintian)

file(GLOB debs ${OUT}/cihaz-test_${PACKAGE_VERSION}_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${count} packages in ${OUT}: ${debs}")
endif()
execute_process(COMMAND ${lintian} --allow-root --fail-on error,warning ${debs}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" tags "${out}")
if(NOT status EQUAL 0 OR tags OR NOT err STREQUAL "")
  message(FATAL_ERROR "lintian (${status}) on ${debs}:\n${out}${err}")
endif()
message(STATUS "lintian passes ${debs}: ${out}")
