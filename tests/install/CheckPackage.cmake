# Builds the Debian package into a fresh directory and checks its control
# fields and contents: the run-time libraries found by dpkg-shlibdeps and
# the fonts the windows are laid out with, the program, its desktop entry
# and icons under /usr.
#   cmake -DCPACK=... -DBUILD_DIR=... -DOUT=... -DVERSION=... -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB debs ${OUT}/cihaz-test_${VERSION}_*.deb)
list(LENGTH debs count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack (${status}) made ${count} packages: ${out}${err}")
endif()

execute_process(COMMAND dpkg-deb -f ${debs} Package Version Section Depends OUTPUT_VARIABLE fields)
foreach(field "Package: cihaz-test\n" "Version: ${VERSION}\n" "Section: utils\n")
  string(FIND "${fields}" "${field}" at)
  if(at LESS 0)
    string(APPEND failures "\n  no \"${field}\" in ${fields}")
  endif()
endforeach()
string(REGEX MATCH "Depends: [^\n]*" depends "${fields}")
string(REGEX REPLACE " \\([^)]*\\)" "" depends "${depends}")
string(REPLACE "Depends: " "" depends "${depends}")
string(REPLACE ", " ";" depends "${depends}")
foreach(package libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libasound2 libspandsp2 fonts-liberation
                fonts-dejavu-core)
  if(NOT package IN_LIST depends)
    string(APPEND failures "\n  Depends lacks ${package}: ${depends}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE listing)
set(files ./usr/bin/cihaz-test ./usr/share/applications/cihaz-test.desktop)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND files ./usr/share/icons/hicolor/${size}x${size}/apps/cihaz-test.png)
endforeach()
foreach(file ${files})
  string(FIND "${listing}" " ${file}\n" at)
  if(at LESS 0)
    string(APPEND failures "\n  the package lacks ${file}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The Debian package is not right:${failures}")
endif()
message(STATUS "Built and checked ${debs}")
