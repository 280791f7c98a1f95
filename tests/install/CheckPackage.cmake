# Builds the Debian package into a fresh directory and checks its control
# fields and contents: the run-time libraries found by dpkg-shlibdeps and
# the fonts the windows are laid out with, the program and the caller-ID
# generator, their manual pages, the desktop entry and icons, the AppStream
# file, the copyright file and the changelog under /usr. Unpacked into a
# scratch root, both programs answer from there.
#   cmake -DCPACK=... -DBUILD_DIR=... -DOUT=... -DVERSION=... -DPACKAGE_VERSION=... -DAPPSTREAM_ID=...
#         -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB debs ${OUT}/cihaz-test_${PACKAGE_VERSION}_*.deb)
list(LENGTH debs count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack (${status}) made ${count} packages: ${out}${err}")
endif()

execute_process(COMMAND dpkg-deb -f ${debs} Package Version Section Depends OUTPUT_VARIABLE fields)
foreach(field "Package: cihaz-test\n" "Version: ${PACKAGE_VERSION}\n" "Section: utils\n")
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
set(files ./usr/bin/cihaz-test ./usr/bin/cid-generate ./usr/share/applications/cihaz-test.desktop
          ./usr/share/man/man1/cihaz-test.1.gz ./usr/share/man/man1/cid-generate.1.gz
          ./usr/share/metainfo/${APPSTREAM_ID}.metainfo.xml ./usr/share/doc/cihaz-test/copyright
          ./usr/share/doc/cihaz-test/changelog.Debian.gz ./usr/share/lintian/overrides/cihaz-test)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND files ./usr/share/icons/hicolor/${size}x${size}/apps/cihaz-test.png)
endforeach()
foreach(file ${files})
  string(FIND "${listing}" " ${file}\n" at)
  if(at LESS 0)
    string(APPEND failures "\n  the package lacks ${file}")
  endif()
endforeach()

# The copyright file names the licence in the machine-readable format; the
# changelog's newest entry is this version.
set(root ${OUT}/root)
execute_process(COMMAND dpkg -x ${debs} ${root} RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg -x failed (${status}): ${err}")
endif()
set(doc ${root}/usr/share/doc/cihaz-test)
if(EXISTS ${doc}/copyright)
  file(READ ${doc}/copyright copyright)
  if(NOT copyright MATCHES "^Format: https://www\\.debian\\.org/doc/packaging-manuals/copyright-format/1\\.0/\n"
     OR NOT copyright MATCHES "\nFiles: \\*\nCopyright: [^\n]+\nLicense: ([^\n]+)\n.*\nLicense: ([^\n]+)\n ")
    string(APPEND failures "\n  the copyright file is not in the machine-readable format:\n${copyright}")
  elseif(NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
    string(APPEND failures "\n  the copyright file names licence ${CMAKE_MATCH_1} but gives the text of ${CMAKE_MATCH_2}")
  endif()
endif()
if(EXISTS ${doc}/changelog.Debian.gz)
  execute_process(COMMAND gzip -dc ${doc}/changelog.Debian.gz OUTPUT_VARIABLE changelog)
  if(NOT changelog MATCHES "^cihaz-test \\(${PACKAGE_VERSION}\\) ")
    string(APPEND failures "\n  the changelog does not start with ${PACKAGE_VERSION}: ${changelog}")
  endif()
endif()

# Both programs from the scratch root, without a display.
foreach(run "cihaz-test|--version|^cihaz-test ${VERSION}\n$" "cid-generate|--help|^Usage: [^\n]*cid-generate \\[options\\]\n")
  string(REPLACE "|" ";" run "${run}")
  list(GET run 0 program)
  list(GET run 1 option)
  list(GET run 2 pattern)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
                          ${root}/usr/bin/${program} ${option}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out MATCHES "${pattern}" OR NOT err STREQUAL "")
    string(APPEND failures "\n  ${program} ${option} from the package: status ${status}, output [${out}], errors [${err}]")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The Debian package is not right:${failures}")
endif()
message(STATUS "Built and checked ${debs}")
